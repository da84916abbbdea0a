// translator_state.cpp — placeholder until the translator lands.
#include "translator/translator_state.h"

namespace translator {

bool translation_flag = false;

void close_output() {}

}  // namespace translator
