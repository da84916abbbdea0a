// make.h — translating the program into the postfix target language.
#pragma once

namespace translator {

int make_statement();  // make ["file"]

}  // namespace translator
