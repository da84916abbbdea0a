// window_edit_box.cpp — the line buffer, input event, last key and pasted
// lines between the threads.
#include "device/window_edit_box.h"

#include "base/limits.h"
#include "platform/clock.h"

namespace device {

void WindowEditBox::put_line(std::u16string line, bool pasted) {
  if (line.size() > limits::typed_units) line.resize(limits::typed_units);
  line_buffer_ = std::move(line);
  signalled_ = true;
  buffer_pasted_ = pasted;
}

void WindowEditBox::submit(std::u16string line) {
  {
    std::lock_guard lock(mutex_);
    if (!queued_.empty() || (signalled_ && buffer_pasted_)) {  // a pasted line is never replaced
      queued_.push_back(std::move(line));
      return;
    }
    put_line(std::move(line));
  }
  signalled_cv_.notify_one();
}

void WindowEditBox::submit_return(std::u16string line) {
  last_key_ = u'\n';
  submit(std::move(line));
}

void WindowEditBox::submit_lines(std::vector<std::u16string> lines) {
  if (lines.empty()) return;
  {
    std::lock_guard lock(mutex_);
    std::size_t first = 0;
    // The first line takes the buffer unless one is waiting there already.
    if (!signalled_ && queued_.empty()) put_line(std::move(lines[first++]), true);
    for (std::size_t i = first; i < lines.size(); ++i) queued_.push_back(std::move(lines[i]));
  }
  signalled_cv_.notify_one();
}

void WindowEditBox::stop() {
  break_flag = 1;
  {
    std::lock_guard lock(mutex_);
    queued_.clear();
    put_line(u"");
  }
  signalled_cv_.notify_one();
}

void WindowEditBox::text_edited(const std::u16string& text) { last_key_ = text.empty() ? u'\0' : text.back(); }

void WindowEditBox::close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  signalled_cv_.notify_all();
}

std::size_t WindowEditBox::queued_lines() {
  std::lock_guard lock(mutex_);
  return queued_.size();
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
  if (!queued_.empty()) {  // the next pasted line is typed in at once
    put_line(std::move(queued_.front()), true);
    queued_.pop_front();
  }
  return LineStatus::typed;
}

char16_t WindowEditBox::take_last_key() {
  last_key_ = 0;
  platform::sleep_ms(50);
  if (clear_box) clear_box();
  return last_key_.load();
}

void WindowEditBox::at_prompt(bool waiting) {
  if (on_prompt) on_prompt(waiting);
}

std::u16string split_pasted_text(const std::u16string& text, std::vector<std::u16string>& lines) {
  std::u16string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      lines.push_back(std::move(current));
      current.clear();
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      current += c;
    }
  }
  return current;
}

}  // namespace device
