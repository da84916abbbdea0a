// line_input.cpp — waiting for typed lines, echoing them, and the terminal's edit box.
#include "device/line_input.h"

#include <algorithm>

#include "base/limits.h"
#include "device/console.h"
#include "device/device.h"
#include "platform/terminal.h"
#include "platform/text_codec.h"

namespace device {

std::atomic<int> break_flag{0};

namespace {
TerminalEditBox terminal_box;

EditBox& edit_box() { return state.edit_box ? *state.edit_box : terminal_box; }
}  // namespace

void set_edit_box(EditBox* box) { state.edit_box = box; }

LineStatus wait_typed_line(std::u16string& line, bool at_prompt) {
  if (at_prompt) edit_box().at_prompt(true);
  LineStatus status = edit_box().wait_line(line);
  if (at_prompt) edit_box().at_prompt(false);
  if (status == LineStatus::closed) {
    line.clear();
    if (at_prompt) return status;
    break_flag = 1;  // the end of the input stops the program, as Stop does
  }
  // The line buffer is a NUL-terminated text: a NUL typed into the line ends it.
  line.resize(std::min({line.find(u'\0'), line.size(), limits::typed_units}));
  // A terminal has shown a typed line and its Return; after Ctrl-C or Ctrl-D
  // it has not, and the line feed goes there too.
  set_terminal_mirror_paused(status == LineStatus::typed && edit_box().shows_own_echo());
  console_write_wide(line);
  console_put_char(u'\n');
  set_terminal_mirror_paused(false);
  return status;
}

std::string read_typed_line() {
  std::u16string line;
  wait_typed_line(line);
  return platform::utf16_to_cp932(line, limits::typed_line_bytes);
}

char16_t take_last_key() { return edit_box().take_last_key(); }

LineStatus TerminalEditBox::wait_line(std::u16string& line) {
  std::string utf8;
  switch (platform::terminal_read_line(utf8)) {
    case platform::ReadResult::line:
      line = platform::utf8_to_utf16(utf8);
      return LineStatus::typed;
    case platform::ReadResult::interrupted:
      line.clear();
      break_flag = 1;
      return LineStatus::stopped;
    case platform::ReadResult::end_of_input:
      break;
  }
  line.clear();
  return LineStatus::closed;
}

char16_t TerminalEditBox::take_last_key() { return platform::terminal_poll_key(50); }

bool TerminalEditBox::shows_own_echo() const { return platform::stdin_is_terminal(); }

}  // namespace device
