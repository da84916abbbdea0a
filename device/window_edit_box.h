// window_edit_box.h — the hand-over of typed lines between the window thread
// and the interpreter thread: the line buffer, the input event (auto-reset),
// the last-key character and Stop. No toolkit here: the window calls the
// window-thread side, the interpreter reads through the EditBox interface.
#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

#include "device/line_input.h"

namespace device {

class WindowEditBox : public EditBox {
 public:
  // Window thread: a line was submitted (Return or Enter). Only one line is
  // held: a second submission before the read replaces the first.
  void submit(std::u16string line);
  // Window thread: Stop sets the break flag and submits an empty line.
  void stop();
  // Window thread: the edit box's text changed by the user.
  void text_edited(const std::u16string& text);
  // Window thread: the window is going away; a waiting read returns closed.
  void close();

  // Interpreter thread.
  LineStatus wait_line(std::u16string& line) override;
  char16_t take_last_key() override;

  // Set by the window: empties the edit box without counting as an edit.
  std::function<void()> clear_box;

 private:
  std::mutex mutex_;
  std::condition_variable signalled_cv_;
  std::u16string line_buffer_;  // at most 255 units
  bool signalled_ = false;      // the input event
  bool closed_ = false;
  std::atomic<char16_t> last_key_{0};
};

}  // namespace device
