// terminal.cpp — stdin/stdout for terminal mode.
#include "platform/terminal.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <termios.h>
#include <unistd.h>

#include "platform/line_editor.h"
#include "platform/stop_flag.h"
#include "platform/text_codec.h"

namespace platform {
namespace {

bool output_enabled = false;
std::string input_buffer;  // bytes read from stdin but not yet handed out
bool input_ended = false;
std::atomic<int>* interrupt_flag = nullptr;
// Ctrl-C is the Stop button: besides the break flag it submits one empty
// line, which the next read returns at once if nobody was reading.
std::atomic<bool> stop_submitted{false};
static_assert(std::atomic<bool>::is_always_lock_free);
// Ctrl-C also writes a byte here, so that a wait for a key wakes even when the
// signal came just before the wait began (a read would then block on).
int wake_pipe[2] = {-1, -1};

// Takes a submitted Stop. The pipe is emptied first: a Ctrl-C after that leaves
// its byte, which wakes the next wait, whose loop then takes it.
bool take_stop() {
  char drained[64];
  while (wake_pipe[0] >= 0 && ::read(wake_pipe[0], drained, sizeof drained) > 0) {
  }
  return stop_submitted.exchange(false);
}
// What stdout shows on the cursor's row: the line editor draws it again as its
// prompt. Only tracked while lines are edited.
std::string row_text;
enum class Editing { undecided, on, off };
std::atomic<Editing> editing{Editing::undecided};  // the flusher thread reads it too

bool edits_lines() {
  if (editing == Editing::undecided) {
    editing = line_editing_possible() ? Editing::on : Editing::off;
    if (editing == Editing::on) set_history_file(default_history_file());
  }
  return editing == Editing::on;
}

void note_row(const std::string& written) {
  std::size_t lf = written.rfind('\n');
  if (lf == std::string::npos) row_text += written;
  else row_text.assign(written, lf + 1);
  // A row this long is wider than any terminal; its start is not needed.
  if (row_text.size() > 8192) row_text.erase(0, row_text.size() - 8192);
}

// A line from the line editor; Ctrl-C and the end of input as for plain reads.
ReadResult edited_line(std::string& line) {
  for (;;) {
    if (take_stop()) {
      line.clear();
      return ReadResult::interrupted;
    }
    if (input_ended) return ReadResult::end_of_input;
    EditResult r = edit_line(row_text, line, wake_pipe[0]);
    if (r == EditResult::interrupted) continue;  // a Stop is taken at the top
    row_text.clear();
    if (r == EditResult::line) return ReadResult::line;
    input_ended = true;  // Ctrl-D: the input has ended, as at the end of a pipe
  }
}

// SIGPIPE is ignored so that sockets and files report a gone reader as a
// failed write; stdout alone dies of it, as the default action would.
[[noreturn]] void end_with_broken_pipe() {
  std::signal(SIGPIPE, SIG_DFL);
  sigset_t pipe_only;
  sigemptyset(&pipe_only);
  sigaddset(&pipe_only, SIGPIPE);
  pthread_sigmask(SIG_UNBLOCK, &pipe_only, nullptr);
  ::raise(SIGPIPE);
  std::_Exit(128 + SIGPIPE);
}

void write_all(const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    // A reader that has gone ends the process as it ends any tool writing to a
    // pipe; any other failure loses the text, nothing more.
    if (n < 0 && errno == EPIPE) end_with_broken_pipe();
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

// Console text on its way to stdout. The interpreter thread gathers a line
// in `line`; a finished line joins `pending`, which is written at once when
// nothing was written for the last 50 ms, else by the flusher thread when
// those 50 ms are over: a flood of lines costs a write every 50 ms, and a
// user watching still sees every line within that time.
class Output {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr auto interval = std::chrono::milliseconds(50);
  static constexpr std::size_t line_limit = 4096;       // a longer line is handed over in parts
  static constexpr std::size_t pending_limit = 1 << 16;  // more is written at once

  ~Output() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    woken_.notify_one();
    if (flusher_.joinable()) flusher_.join();
    flush();
  }

  // Interpreter thread.
  void put(char16_t unit) {
    line_.push_back(unit);
    if (unit == u'\n' || line_.size() >= line_limit) hand_over();
  }

  // Interpreter thread: everything, the unfinished line too, now.
  void flush() {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.append(line_);
    line_.clear();
    write_pending();
  }

 private:
  void hand_over() {
    std::lock_guard<std::mutex> lock(mutex_);
    bool flusher_idle = pending_.empty();  // else it already waits to write
    pending_.append(line_);
    line_.clear();
    if (Clock::now() - last_write_ >= interval || pending_.size() >= pending_limit) {
      write_pending();
      return;
    }
    if (!flusher_.joinable()) flusher_ = std::thread([this] { run_flusher(); });
    if (flusher_idle) woken_.notify_one();
  }

  // With the mutex held: writes pending_ but a high surrogate at its end,
  // whose partner has not arrived yet.
  void write_pending() {
    if (pending_.empty()) return;
    std::u16string rest;
    if (pending_.back() >= 0xD800 && pending_.back() <= 0xDBFF) {
      rest.push_back(pending_.back());
      pending_.pop_back();
    }
    std::string bytes = utf16_to_utf8(pending_);
    write_all(bytes);
    if (editing == Editing::on) note_row(bytes);
    pending_ = std::move(rest);
    last_write_ = Clock::now();
  }

  void run_flusher() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      woken_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
      if (stopping_) return;
      woken_.wait_until(lock, last_write_ + interval, [this] { return stopping_; });
      write_pending();
    }
  }

  std::u16string line_;  // interpreter thread only
  std::mutex mutex_;     // guards what follows, and the writing itself
  std::condition_variable woken_;
  std::u16string pending_;
  Clock::time_point last_write_{};
  bool stopping_ = false;
  std::thread flusher_;
} output;

void on_interrupt(int) {
  if (!interrupt_flag) return;
  interrupt_flag->store(1);
  stop_submitted.store(true);
  if (wake_pipe[1] >= 0) {
    int saved = errno;
    ssize_t written = ::write(wake_pipe[1], "", 1);  // a full pipe already wakes
    (void)written;
    errno = saved;
  }
}

}  // namespace

void terminal_enable_output(bool enabled) {
  output_enabled = enabled;
  if (enabled) edits_lines();  // decided before anything is written
}

void terminal_put(char16_t unit) {
  if (output_enabled) output.put(unit);
}

void terminal_flush() { output.flush(); }

bool stdin_is_terminal() { return ::isatty(STDIN_FILENO) == 1; }

ReadResult terminal_read_line(std::string& line) {
  terminal_flush();
  if (edits_lines()) return edited_line(line);
  for (;;) {
    if (take_stop()) {
      line.clear();
      return ReadResult::interrupted;
    }
    std::size_t lf = input_buffer.find('\n');
    if (lf != std::string::npos) {
      line.assign(input_buffer, 0, lf);
      input_buffer.erase(0, lf + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return ReadResult::line;
    }
    if (input_ended) {
      if (input_buffer.empty()) return ReadResult::end_of_input;
      line.swap(input_buffer);  // a last line without its line feed
      input_buffer.clear();
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return ReadResult::line;
    }
    pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {wake_pipe[0], POLLIN, 0}};
    if (::poll(waits, wake_pipe[0] >= 0 ? 2 : 1, -1) < 0 || (waits[1].revents & POLLIN)) continue;
    char chunk[4096];
    ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;  // a Stop is taken at the top of the loop
    if (n <= 0) {
      input_ended = true;
      continue;
    }
    input_buffer.append(chunk, static_cast<std::size_t>(n));
  }
}

void install_interrupt_handler(std::atomic<int>* flag) {
  interrupt_flag = flag;
  set_stop_flag(flag);
  if (wake_pipe[0] < 0 && ::pipe2(wake_pipe, O_CLOEXEC | O_NONBLOCK) != 0) wake_pipe[0] = wake_pipe[1] = -1;
  struct sigaction sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sa_handler = on_interrupt;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no SA_RESTART: a waiting read must return
  sigaction(SIGINT, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

char16_t terminal_poll_key(int ms) {
  terminal_flush();
  if (!stdin_is_terminal()) {
    ::usleep(static_cast<useconds_t>(ms) * 1000);
    return 0;
  }
  termios saved;
  if (tcgetattr(STDIN_FILENO, &saved) != 0) {
    ::usleep(static_cast<useconds_t>(ms) * 1000);
    return 0;
  }
  termios raw = saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  ::usleep(static_cast<useconds_t>(ms) * 1000);
  std::string typed;
  pollfd pfd{STDIN_FILENO, POLLIN, 0};
  while (::poll(&pfd, 1, 0) > 0 && (pfd.revents & POLLIN)) {
    char chunk[64];
    ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (n <= 0) break;
    typed.append(chunk, static_cast<std::size_t>(n));
  }
  tcsetattr(STDIN_FILENO, TCSANOW, &saved);
  std::u16string units = utf8_to_utf16(typed);
  return units.empty() ? 0 : units.back();
}

}  // namespace platform
