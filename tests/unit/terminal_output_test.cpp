// Console lines reach a pipe while the program still runs: before a wait,
// and within 50 ms while the program computes without printing more.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// Runs `vornbasic --tty` on program and returns what stdout gave within ms;
// the process is killed afterwards.
std::string output_within(const std::string& program, int ms) {
  fs::path file = fs::temp_directory_path() / ("vorn-output-" + std::to_string(::getpid()) + ".bas");
  std::ofstream(file, std::ios::binary) << program;
  int out[2];
  EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], 1);
    int in = ::open("/dev/null", O_RDONLY);
    ::dup2(in, 0);
    ::execl(VORNBASIC_BIN, VORNBASIC_BIN, "--tty", file.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ::close(out[1]);
  std::string got;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{out[0], POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[256];
    ssize_t n = ::read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    got.append(buffer, static_cast<std::size_t>(n));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  ::close(out[0]);
  fs::remove(file);
  return got;
}

TEST(TerminalOutput, LinesAndAnUnfinishedLineShowBeforeAWait) {
  EXPECT_EQ(output_within("print \"one\"\nprint \"two\"\nprint \"three\";\nwait 20000\n", 3000), "one\ntwo\nthree");
}

TEST(TerminalOutput, LinesShowWhileTheProgramComputes) {
  // The first line goes out at once, the second with the next 50 ms.
  EXPECT_EQ(output_within("print \"one\"\nprint \"two\"\nfor i=1 to 2000000000\nnext\n", 3000), "one\ntwo\n");
}

}  // namespace
