// system_services.cpp — placeholder until program launching lands.
#include "services/system_services.h"

#include "front/errors.h"

namespace services {

int start_statement() { front::raise_error(front::Message::syntax); }
int exec_statement() { front::raise_error(front::Message::syntax); }
int wait_statement() { front::raise_error(front::Message::syntax); }
int regist_statement() { front::raise_error(front::Message::syntax); }

}  // namespace services
