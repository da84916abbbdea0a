// Programs the system starts: exec's program gets the default signal actions
// and is waited for; start's opener is not waited for and leaves no child
// behind; edit falls back to the terminal's editor only in a terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/process.h"

namespace fs = std::filesystem;

namespace {

std::string read_all(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_all(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

class Process : public testing::Test {
 protected:
  void SetUp() override {
    work_ = fs::temp_directory_path() / ("vorn-process-" + std::to_string(::getpid()));
    fs::remove_all(work_);
    fs::create_directories(work_ / "root");
  }
  void TearDown() override { fs::remove_all(work_); }

  // Runs `vornbasic --tty program.bas` in the work folder with the given
  // environment additions, on a pseudo-terminal or on /dev/null and a pipe.
  // Returns its output; every wait is bounded.
  std::string run_basic(const std::string& program, const std::vector<std::string>& env, bool terminal) {
    write_all(work_ / "program.bas", program);
    int master = -1, out[2] = {-1, -1};
    std::string slave;
    if (terminal) {
      master = ::posix_openpt(O_RDWR | O_NOCTTY);
      EXPECT_GE(master, 0);
      EXPECT_EQ(::grantpt(master), 0);
      EXPECT_EQ(::unlockpt(master), 0);
      slave = ::ptsname(master);
    } else {
      EXPECT_EQ(::pipe(out), 0);
      master = out[0];
    }
    pid_t pid = ::fork();
    if (pid == 0) {
      ::setsid();
      int in = terminal ? ::open(slave.c_str(), O_RDWR) : ::open("/dev/null", O_RDONLY);
      int o = terminal ? in : out[1];
      ::dup2(in, 0);
      ::dup2(o, 1);
      ::dup2(o, 2);
      if (::chdir(work_.c_str()) != 0) _exit(126);
      ::unsetenv("VISUAL");
      ::unsetenv("EDITOR");
      for (const std::string& e : env) ::putenv(const_cast<char*>(e.c_str()));
      std::string root = (work_ / "root").string();
      ::execl(VORNBASIC_BIN, VORNBASIC_BIN, "--tty", "--root", root.c_str(), "program.bas",
              static_cast<char*>(nullptr));
      _exit(127);
    }
    if (!terminal) ::close(out[1]);
    std::string output;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd p{master, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      char buffer[4096];
      ssize_t n = ::read(master, buffer, sizeof buffer);
      if (n <= 0) break;  // a pseudo-terminal reports EIO once the program has gone
      output.append(buffer, static_cast<std::size_t>(n));
    }
    ::kill(pid, SIGKILL);  // no-op when it has ended
    ::waitpid(pid, nullptr, 0);
    ::close(master);
    return output;
  }

  fs::path work_;
};

TEST_F(Process, ProgramsThatCannotStartAreRefused) {
  EXPECT_FALSE(platform::run_and_wait("no-such-program-of-vorn", {}));
  EXPECT_FALSE(platform::run_and_wait((work_ / "missing").string(), {}));
  EXPECT_FALSE(platform::run_and_wait(work_.string(), {}));  // a folder
  EXPECT_FALSE(platform::run_and_wait("", {}));
}

// The system ignores SIGPIPE (sockets); its programs must not inherit that.
TEST_F(Process, ProgramIsWaitedForAndStartsWithDefaultSignals) {
  std::signal(SIGPIPE, SIG_IGN);
  fs::path file = work_ / "sigign";
  ASSERT_TRUE(platform::run_and_wait("sh", {"-c", "sleep 0.1; grep SigIgn /proc/$$/status > \"$0\"", file.string()}));
  std::string line = read_all(file);  // there already: run_and_wait waited
  ASSERT_EQ(line.rfind("SigIgn:", 0), 0u) << line;
  unsigned long long ignored = std::stoull(line.substr(7), nullptr, 16);
  EXPECT_EQ(ignored & (1ull << (SIGPIPE - 1)), 0u);
  std::signal(SIGPIPE, SIG_DFL);
}

// The opener is handed the name and is not waited for: it only goes on once
// the test has seen open_document return, and gives up after ten seconds.
TEST_F(Process, OpenDocumentDoesNotWaitNorLeaveAChild) {
  fs::path bin = work_ / "bin";
  fs::create_directories(bin);
  write_all(bin / "xdg-open",
            "#!/bin/sh\nn=0\nwhile [ ! -e \"" + (work_ / "go").string() +
                "\" ] && [ $n -lt 200 ]; do sleep 0.05; n=$((n+1)); done\n"
                "printf '%s|%s' \"$n\" \"$1\" > \"" + (work_ / "opened.tmp").string() + "\"\n" +
                "mv \"" + (work_ / "opened.tmp").string() + "\" \"" + (work_ / "opened").string() + "\"\n");
  fs::permissions(bin / "xdg-open", fs::perms::owner_all);
  std::string path = ::getenv("PATH") ? ::getenv("PATH") : "";
  ::setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
  platform::open_document("some document.txt");
  ::setenv("PATH", path.c_str(), 1);
  write_all(work_ / "go", "");
  for (int i = 0; i < 400 && !fs::exists(work_ / "opened"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::string opened = read_all(work_ / "opened");
  ASSERT_NE(opened.find('|'), std::string::npos) << "the opener did not run";
  EXPECT_LT(std::stoi(opened), 200) << "open_document waited for the opener";
  EXPECT_EQ(opened.substr(opened.find('|') + 1), "some document.txt");
  // The shell in between has been reaped and the opener was never our child.
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(Process, OpenDocumentWithoutAnOpenerDoesNothing) {
  std::string path = ::getenv("PATH") ? ::getenv("PATH") : "";
  ::setenv("PATH", work_.c_str(), 1);
  platform::open_document("x.txt");
  ::setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

// With nothing registered for .txt, edit in a terminal opens $VISUAL (before
// $EDITOR) on the TempFile and loads what it left.
TEST_F(Process, EditInATerminalUsesTheTerminalsEditor) {
  write_all(work_ / "ed.sh", "printf 'print \"editor\"\\n' >> \"$1\"\necho \"$1\" > editor-ran\n");
  write_all(work_ / "vis.sh", "printf 'print \"visual\"\\n' >> \"$1\"\necho \"$1\" > visual-ran\n");
  std::string out = run_basic("print \"start\"\nedit\n", {"VISUAL=sh vis.sh", "EDITOR=sh ed.sh"}, true);
  fs::path temp_file = work_ / "root" / "Windows" / "basic.txt";
  EXPECT_EQ(read_all(work_ / "visual-ran"), temp_file.string() + "\n") << out;
  EXPECT_FALSE(fs::exists(work_ / "editor-ran"));
  // The terminal's editor gets UTF-8 with LF line ends, as Linux editors write.
  EXPECT_EQ(read_all(temp_file), "print \"start\"\nedit\nprint \"visual\"\n");

  fs::remove(work_ / "visual-ran");
  run_basic("edit\n", {"EDITOR=sh ed.sh"}, true);
  EXPECT_TRUE(fs::exists(work_ / "editor-ran"));
}

TEST_F(Process, EditWithoutATerminalStartsNoEditor) {
  write_all(work_ / "ed.sh", "echo \"$1\" > editor-ran\n");
  run_basic("edit\n", {"VISUAL=sh ed.sh", "EDITOR=sh ed.sh"}, false);
  EXPECT_TRUE(fs::exists(work_ / "root" / "Windows" / "basic.txt"));
  EXPECT_FALSE(fs::exists(work_ / "editor-ran"));
}

}  // namespace
