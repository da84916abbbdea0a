// output.cpp — the output writer and the diagnostics.
#include "machine/program_store.h"
#include "device/console.h"
#include "translator/translation.h"

namespace translator {

void output_print(std::string_view format, host::FormatArgs args) {
  if (!translation.output.is_open()) return;
  // format_text bounds the text like the 512-byte format buffer.
  translation.output.write(host::format_text(format, args));
}

void report_diagnostic(std::string_view sjis_message) {
  const front::LinePtr& line = front::execution.current_line;
  if (line && line->number > 0) host::console_print("Line %d : ", {line->number});
  host::console_write(sjis_message);
  host::console_print("\n");
}

void report_diagnostic(front::Message message) { report_diagnostic(front::message_text(message)); }

}  // namespace translator
