// output.cpp — the output writer and the diagnostics.
#include "device/console.h"
#include "machine/program_store.h"
#include "translator/translation.h"

namespace translator {

void output_print(std::string_view format, base::FormatArgs args) {
  if (!translation.output.is_open()) return;
  // format_text bounds the text like the 512-byte format buffer.
  translation.output.write(base::format_text(format, args));
}

void report_diagnostic(std::string_view sjis_message) {
  const machine::LinePtr& line = machine::execution.current_line;
  if (line && line->number > 0) device::console_print("Line %d : ", {line->number});
  device::console_write(sjis_message);
  device::console_print("\n");
}

void report_diagnostic(base::Message message) { report_diagnostic(base::shown_text(message)); }

}  // namespace translator
