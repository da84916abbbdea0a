// translator_state.cpp — the translator's process-wide state: the output file,
// the subroutine list and the label counter.
#include "translator/translator_state.h"

#include <algorithm>

#include "translator/translation.h"

namespace translator {

Translation translation;

void close_output() { translation.output.close(); }

void add_subroutine(std::string_view name) {
  if (!contains_subroutine(name)) translation.subroutines.emplace_back(name);
}

bool contains_subroutine(std::string_view name) {
  return std::find(translation.subroutines.begin(), translation.subroutines.end(), name) !=
         translation.subroutines.end();
}

void clear_subroutines() { translation.subroutines.clear(); }

std::int32_t take_label() { return translation.label_counter++; }

}  // namespace translator
