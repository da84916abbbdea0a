// output.cpp — the output writer, the diagnostics and the translator's texts.
#include <array>
#include <string>

#include "front/program_store.h"
#include "host/console.h"
#include "platform/text_codec.h"
#include "translator/translation.h"

namespace translator {
namespace {

constexpr std::string_view utf8_notes[] = {
#define VORN_NOTE_TEXT(id, text) text,
    VORN_TRANSLATOR_NOTES(VORN_NOTE_TEXT)
#undef VORN_NOTE_TEXT
};
constexpr std::size_t note_count = std::size(utf8_notes);

const std::array<std::string, note_count>& sjis_notes() {
  static const auto table = [] {
    std::array<std::string, note_count> t;
    for (std::size_t i = 0; i < note_count; ++i) t[i] = platform::utf8_to_cp932(utf8_notes[i]);
    return t;
  }();
  return table;
}

}  // namespace

std::string_view note_text(Note note) { return sjis_notes()[static_cast<std::size_t>(note)]; }

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

void report_diagnostic(Note note) { report_diagnostic(note_text(note)); }

}  // namespace translator
