// translator_state.h — the translator's process-wide state that the rest of
// the system looks at: the translation flag and the output file.
#pragma once

namespace translator {

// Set for exactly the first pass of make: input$ and eof then do no I/O.
extern bool translation_flag;

// Closes the translator's output file if one is open.
void close_output();

}  // namespace translator
