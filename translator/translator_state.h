// translator_state.h — the translator's process-wide state: the output file,
// the subroutine list and the label counter.
#pragma once

namespace translator {

// Closes the translator's output file if one is open.
void close_output();

}  // namespace translator
