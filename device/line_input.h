// line_input.h — typed lines crossing from the edit box to the interpreter.
// The edit box is the window's (window mode) or stdin (terminal mode); the
// interpreter thread waits for a line, echoes it, and converts it.
#pragma once
#include <atomic>
#include <string>

namespace device {

// Set by Stop (or Ctrl-C, or the stop statement); the executor looks at it
// between statements.
extern std::atomic<int> break_flag;

enum class LineStatus { typed, stopped, closed };

// Where typed lines come from.
class EditBox {
 public:
  virtual ~EditBox() = default;
  // Blocks until a line is submitted (at most 255 UTF-16 units). Stop gives an
  // empty line and sets the break flag; closed means no line will ever come.
  virtual LineStatus wait_line(std::u16string& line) = 0;
  // Empties the last-key character, waits 50 ms, and returns the last
  // character typed meanwhile (0 if none).
  virtual char16_t take_last_key() = 0;
  // True when the terminal already shows what is typed (no second echo there).
  virtual bool shows_own_echo() const { return false; }
  // The command loop starts (true) or ends (false) waiting at its prompt.
  virtual void at_prompt(bool /*waiting*/) {}
};

void set_edit_box(EditBox* box);

// Waits for a line and echoes it with a line feed. When the input has ended,
// acts as Stop (an empty line, break flag set); at_prompt then skips the echo.
LineStatus wait_typed_line(std::u16string& line, bool at_prompt = false);
// wait_typed_line, then the line in Shift-JIS, at most 254 bytes.
std::string read_typed_line();
char16_t take_last_key();

// The edit box of terminal mode: stdin.
class TerminalEditBox : public EditBox {
 public:
  LineStatus wait_line(std::u16string& line) override;
  char16_t take_last_key() override;
  bool shows_own_echo() const override;
};

}  // namespace device
