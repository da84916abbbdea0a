// console.cpp — the character rules of the console: escape swallowing, line
// feeds, ignored control codes; the picture draws, the terminal mirrors.
#include "device/console.h"

#include "base/limits.h"
#include "device/device.h"
#include "device/screen.h"
#include "platform/terminal.h"
#include "platform/text_codec.h"

namespace device {
namespace {

int& escape_state = state.console.escape_state;
bool& mirror_paused = state.console.mirror_paused;

// Returns true when c belongs to an escape sequence and is swallowed.
bool swallow_escape(char16_t c) {
  switch (escape_state) {
    case 0:
      return false;
    case 1:
      escape_state = c == u'#' ? 2 : c == u'(' ? 3 : c == u')' ? 4 : c == u'[' ? 5 : 0;
      return true;
    case 5:
      if ((c >= u'0' && c <= u'9') || c == u';') return true;
      escape_state = 0;
      return true;
    default:
      escape_state = 0;
      return true;
  }
}

}  // namespace

void set_terminal_mirror_paused(bool paused) { mirror_paused = paused; }

void console_put_char(char16_t c) {
  // Outside an escape sequence, a printable unit is drawn at the caret.
  screen_erase_caret(escape_state == 0 && c >= 0x20 ? c : 0);
  if (swallow_escape(c)) return;
  if (c == 0x1B) {
    escape_state = 1;
  } else if (c == u'\n') {
    if (!mirror_paused) platform::terminal_put(c);
    screen_new_line();
  } else if (c >= 0x20) {
    if (!mirror_paused) platform::terminal_put(c);
    screen_draw_char(c);
  }
  screen_draw_caret();
}

void console_write_wide(std::u16string_view text) {
  screen_hold(true);
  for (char16_t c : text) {
    if (c == 0) break;
    console_put_char(c);
  }
  screen_hold(false);
}

void console_write(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::u16string wide = platform::cp932_to_utf16(text);
  if (wide.size() > limits::console_units) wide.resize(limits::console_units);
  console_write_wide(wide);
}

void console_print(std::string_view format, base::FormatArgs args) { console_write(base::format_text(format, args)); }

}  // namespace device
