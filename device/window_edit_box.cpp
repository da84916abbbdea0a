// window_edit_box.cpp — the line buffer, input event and last key between the threads.
#include "device/window_edit_box.h"

#include "base/limits.h"
#include "platform/clock.h"

namespace device {

void WindowEditBox::submit(std::u16string line) {
  if (line.size() > limits::typed_units) line.resize(limits::typed_units);
  {
    std::lock_guard lock(mutex_);
    line_buffer_ = std::move(line);
    signalled_ = true;
  }
  signalled_cv_.notify_one();
}

void WindowEditBox::stop() {
  break_flag = 1;
  submit(u"");
}

void WindowEditBox::text_edited(const std::u16string& text) { last_key_ = text.empty() ? u'\0' : text.back(); }

void WindowEditBox::close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  signalled_cv_.notify_all();
}

LineStatus WindowEditBox::wait_line(std::u16string& line) {
  std::unique_lock lock(mutex_);
  signalled_cv_.wait(lock, [this] { return signalled_ || closed_; });
  if (!signalled_) {
    line.clear();
    return LineStatus::closed;
  }
  signalled_ = false;  // auto-reset
  line = line_buffer_;
  return LineStatus::typed;
}

char16_t WindowEditBox::take_last_key() {
  last_key_ = 0;
  platform::sleep_ms(50);
  if (clear_box) clear_box();
  return last_key_.load();
}

}  // namespace device
