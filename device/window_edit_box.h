// window_edit_box.h — the hand-over of typed lines between the window thread
// and the interpreter thread: the line buffer, the input event (auto-reset),
// the last-key character and Stop; and the queue of pasted lines, fed to the
// line buffer one read at a time. No toolkit here: the window calls the
// window-thread side, the interpreter reads through the EditBox interface.
#pragma once
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "device/line_input.h"

namespace device {

class WindowEditBox : public EditBox {
 public:
  // Window thread: a line was submitted (Return or Enter). Only one line is
  // held: a second submission before the read replaces the first, unless
  // pasted lines are still queued, which it then follows.
  void submit(std::u16string line);
  // Window thread: the Return key. The last key becomes a line feed (what
  // inkey$ sees of Return), then the line is submitted.
  void submit_return(std::u16string line);
  // Window thread: lines pasted at once. Each is handed to the interpreter as
  // a typed line in turn: the next one after the previous one has been read.
  void submit_lines(std::vector<std::u16string> lines);
  // Window thread: Stop sets the break flag, drops the pasted lines not yet
  // read, and submits an empty line.
  void stop();
  // Window thread: the edit box's text changed by the user.
  void text_edited(const std::u16string& text);
  // Window thread: the window is going away; a waiting read returns closed.
  void close();
  // Pasted lines not yet in the line buffer (any thread).
  std::size_t queued_lines();

  // Interpreter thread.
  LineStatus wait_line(std::u16string& line) override;
  char16_t take_last_key() override;
  void at_prompt(bool waiting) override;
  // The last-key character, left as it is (for tests).
  char16_t peek_last_key() const { return last_key_.load(); }

  // Set by the window: empties the edit box without counting as an edit.
  std::function<void()> clear_box;
  // Set by the window: the command loop waits at its prompt (or no longer).
  std::function<void(bool)> on_prompt;

 private:
  void put_line(std::u16string line, bool pasted = false);  // with mutex_ held

  std::mutex mutex_;
  std::condition_variable signalled_cv_;
  std::u16string line_buffer_;  // at most 255 units
  bool signalled_ = false;      // the input event
  bool closed_ = false;
  bool buffer_pasted_ = false;  // the line buffer holds a pasted line not yet read
  std::deque<std::u16string> queued_;  // pasted lines after the one in the buffer
  std::atomic<char16_t> last_key_{0};
};

// Splits pasted text at its line ends (CR LF, CR or LF). Every complete line
// goes to lines; what follows the last line end is returned (the text that
// stays in the edit box).
std::u16string split_pasted_text(const std::u16string& text, std::vector<std::u16string>& lines);

}  // namespace device
