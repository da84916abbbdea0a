// make.cpp — placeholder until the translator lands.
#include "translator/make.h"

#include "front/errors.h"

namespace translator {

int make_statement() { front::raise_error(front::Message::syntax); }

}  // namespace translator
