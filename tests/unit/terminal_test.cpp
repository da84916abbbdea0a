// Ctrl-C in terminal mode is the Stop button: it sets the break flag and
// submits one empty line, which the next read returns even when nobody was
// reading at the time.
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <string>
#include <unistd.h>

#include "platform/terminal.h"

namespace {

// Puts the given bytes on stdin for the length of a test.
class StdinFrom {
 public:
  explicit StdinFrom(const std::string& bytes) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    EXPECT_EQ(write(fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(fds[1]);
    saved_ = dup(STDIN_FILENO);
    dup2(fds[0], STDIN_FILENO);
    close(fds[0]);
  }
  ~StdinFrom() {
    dup2(saved_, STDIN_FILENO);
    close(saved_);
  }

 private:
  int saved_ = -1;
};

TEST(Terminal, StopWhileNobodyReadsLeavesOneEmptyLine) {
  StdinFrom input("abc\n");
  std::atomic<int> break_flag{0};
  platform::install_interrupt_handler(&break_flag);
  std::raise(SIGINT);  // pressed while the program ran, before any read
  EXPECT_EQ(break_flag.load(), 1);

  std::string line = "old";
  EXPECT_EQ(platform::terminal_read_line(line), platform::ReadResult::interrupted);
  EXPECT_EQ(line, "");
  // The one empty line has been taken: the next read gets what was typed.
  EXPECT_EQ(platform::terminal_read_line(line), platform::ReadResult::line);
  EXPECT_EQ(line, "abc");

  // The stop statement sets the break flag but submits no line.
  platform::install_interrupt_handler(nullptr);
  std::signal(SIGINT, SIG_DFL);
}

}  // namespace
