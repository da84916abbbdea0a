// console.h — text output of the console: the character renderer and the
// writers above it. Every text the system shows passes through here.
#pragma once
#include <string_view>

#include "base/format_text.h"

namespace device {

struct ConsoleState {
  // Position inside an escape sequence: 0 none, 1 after ESC, 2/3/4 after
  // ESC # ( ), 5 inside ESC [. Never reset: an unfinished sequence at the end
  // of one output swallows the start of the next.
  int escape_state = 0;
  bool mirror_paused = false;  // see set_terminal_mirror_paused
};

// Draws one UTF-16 unit: escape sequences are swallowed, line feed starts a
// new row, other control codes are ignored, printable units are drawn.
void console_put_char(char16_t c);
// console_put_char for every unit of a wide text.
void console_write_wide(std::u16string_view text);
// Converts Shift-JIS text (at most 511 units) and writes it.
void console_write(std::string_view text);
// format_text, then console_write.
void console_print(std::string_view format, base::FormatArgs args = {});

// While set, what the console draws is not also copied to the terminal
// (used for the echo of a line the terminal already shows).
void set_terminal_mirror_paused(bool paused);

}  // namespace device
