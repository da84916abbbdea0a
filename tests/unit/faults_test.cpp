// Faults a session can meet, run against `vornbasic --tty`: a full disk, a
// kill in the middle of save, unreadable files, FIFOs and devices that never
// answer, a memory budget, a closed stdout. Nothing may be lost, nothing may
// hang, and every refusal must be a message. Every wait is bounded.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int wait_ms = 15000;  // the longest any run may take

std::string contents(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_file(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

// A program of n lines whose text carries mark, as save writes it (CR LF ends).
std::string program_text(int n, const std::string& mark) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "print \"" + mark + " line " + std::to_string(i) + " of the program\"\r\n";
  return text;
}

// A working folder of its own, removed at the end.
class WorkFolder {
 public:
  WorkFolder() {
    static int counter = 0;
    path_ = fs::temp_directory_path() / ("vorn-faults-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
    fs::permissions(path_, fs::perms::all);
  }
  ~WorkFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

// One `vornbasic --tty ARGS` process in a folder: stdin a pipe of the test,
// stdout and stderr gathered. The child's setup runs after fork (limits, user).
class Session {
 public:
  Session(const fs::path& folder, std::vector<std::string> args, std::function<void()> setup = {}) {
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      if (setup) setup();
      if (::chdir(folder.c_str()) != 0) _exit(126);
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      ::dup2(out[1], 2);
      std::vector<char*> argv{const_cast<char*>(VORNBASIC_BIN), const_cast<char*>("--tty")};
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(VORNBASIC_BIN, argv.data());
      _exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    in_ = in[1];
    out_ = out[0];
  }
  ~Session() {
    if (in_ >= 0) ::close(in_);
    if (out_ >= 0) ::close(out_);
    if (pid_ > 0 && !ended_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  void type(const std::string& lines) {
    if (::write(in_, lines.data(), lines.size()) != static_cast<ssize_t>(lines.size())) ADD_FAILURE() << "stdin";
  }
  void end_input() {
    ::close(in_);
    in_ = -1;
  }
  void signal(int sig) { ::kill(pid_, sig); }
  pid_t pid() const { return pid_; }

  // Gathers output until text has appeared; false when the time ran out.
  bool wait_for(const std::string& text, int ms = wait_ms) {
    auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (output_.find(text) == std::string::npos) {
      if (!gather(deadline)) return false;
    }
    return true;
  }

  // Waits for the end: the exit status, 128 + the signal that ended it, or -1
  // when it had to be killed.
  int finish(int ms = wait_ms) {
    auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (gather(deadline)) {
    }
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
      if (Clock::now() >= deadline) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
        ended_ = true;
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ended_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  const std::string& output() const { return output_; }

 private:
  bool gather(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd p{out_, POLLIN, 0};
    if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return false;
    char buffer[4096];
    ssize_t n = ::read(out_, buffer, sizeof buffer);
    if (n <= 0) return false;
    output_.append(buffer, static_cast<std::size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  bool ended_ = false;
  std::string output_;
};

const std::string save_failed = "セーブ失敗しました";
const std::string load_failed = "ロード失敗しました";
const std::string system_error = "システムエラーが発生しました、速やかにリセットして下さい";

// Files in a folder other than the ones named.
std::vector<std::string> other_files(const fs::path& folder, std::initializer_list<std::string> known) {
  std::vector<std::string> others;
  for (const auto& e : fs::directory_iterator(folder)) {
    std::string name = e.path().filename().string();
    if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
  }
  return others;
}

// A small disk: a 64 KiB tmpfs where the test may mount one (root), else a
// 64 KiB file-size limit on the process (writes past it fail with EFBIG).
class SmallDisk {
 public:
  explicit SmallDisk(const fs::path& at) : at_(at) {
    fs::create_directories(at_);
    mounted_ = ::geteuid() == 0 && ::mount("tmpfs", at_.c_str(), "tmpfs", 0, "size=64k") == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount(at_.c_str());
  }
  // The child's part: the limit when there is no tmpfs.
  std::function<void()> setup() const {
    if (mounted_) return {};
    return [] {
      ::signal(SIGXFSZ, SIG_IGN);
      rlimit r{64 * 1024, 64 * 1024};
      ::setrlimit(RLIMIT_FSIZE, &r);
    };
  }

 private:
  fs::path at_;
  bool mounted_ = false;
};

// save onto a full disk: the message, the old file exactly as it was, no
// temporary file left; the program in memory is untouched and saves elsewhere.
TEST(Faults, SaveOnAFullDiskKeepsTheOldFile) {
  WorkFolder work;
  SmallDisk disk(work / "disk");
  const std::string old_program = program_text(3, "old");
  write_file(work / "disk" / "prog.bas", old_program);
  write_file(work / "big.bas", program_text(4000, "new"));  // about 150 KB
  Session s(work.path(), {}, disk.setup());
  s.type("load \"big.bas\"\nsave \"disk/prog.bas\"\nsave \"/dev/full\"\nsave \"copy.bas\"\nbye\n");
  EXPECT_EQ(s.finish(), 0);
  EXPECT_NE(s.output().find("save \"disk/prog.bas\"\n" + save_failed), std::string::npos) << s.output();
  EXPECT_NE(s.output().find("save \"/dev/full\"\n" + save_failed), std::string::npos) << s.output();
  EXPECT_TRUE(contents(work / "disk" / "prog.bas") == old_program);
  EXPECT_TRUE(other_files(work / "disk", {"prog.bas"}).empty());
  EXPECT_TRUE(contents(work / "copy.bas") == contents(work / "big.bas"));
}

// SIGKILL at the moment save has started to change the folder: the target
// holds the whole old program or the whole new one, never a part.
TEST(Faults, KillDuringSaveLeavesOldOrNewWhole) {
  const std::string old_program = program_text(30000, "old");
  const std::string new_program = program_text(30000, "new");
  for (int round = 0; round < 4; ++round) {
    WorkFolder work;
    fs::create_directories(work / "out");
    write_file(work / "out" / "prog.bas", old_program);
    write_file(work / "big.bas", new_program);
    auto before = fs::last_write_time(work / "out" / "prog.bas");
    Session s(work.path(), {});
    s.type("load \"big.bas\"\n");
    ASSERT_TRUE(s.wait_for("READY\nload \"big.bas\"\n\nREADY\n"));
    s.type("save \"out/prog.bas\"\n");
    // The first sign of the save: a new name in the folder, or the target changed.
    auto deadline = Clock::now() + std::chrono::milliseconds(wait_ms);
    while (Clock::now() < deadline && other_files(work / "out", {"prog.bas"}).empty() &&
           fs::file_size(work / "out" / "prog.bas") == old_program.size() &&
           fs::last_write_time(work / "out" / "prog.bas") == before)
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    s.signal(SIGKILL);
    EXPECT_EQ(s.finish(), 128 + SIGKILL);
    std::string now = contents(work / "out" / "prog.bas");
    EXPECT_TRUE(now == old_program || now == new_program) << "round " << round << ": " << now.size() << " bytes";
  }
}

// Files the user may not read or write: messages, and nothing changed.
TEST(Faults, UnreadableAndUnwritableFilesAreRefused) {
  WorkFolder work;
  write_file(work / "secret.bas", program_text(2, "secret"));
  fs::permissions(work / "secret.bas", fs::perms::none);
  fs::create_directories(work / "locked");
  write_file(work / "locked" / "prog.bas", program_text(2, "kept"));
  fs::permissions(work / "locked" / "prog.bas", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(work / "locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  // Root reads everything: the session then runs as nobody.
  auto as_nobody = [] {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) _exit(125);
  };
  write_file(work / "mine.bas", "print 1\r\n");
  Session s(work.path(), {}, as_nobody);
  s.type("load \"mine.bas\"\nload \"secret.bas\"\nlist\nsave \"locked/prog.bas\"\nsave \"locked/new.bas\"\n"
         "open \"secret.bas\" for input as #1\nbye\n");
  EXPECT_EQ(s.finish(), 0);
  const std::string& out = s.output();
  EXPECT_NE(out.find("load \"secret.bas\"\n" + load_failed), std::string::npos) << out;
  EXPECT_NE(out.find("list\n1 print 1\n"), std::string::npos) << out;  // the program is kept
  EXPECT_NE(out.find("save \"locked/prog.bas\"\n" + save_failed), std::string::npos) << out;
  EXPECT_NE(out.find("save \"locked/new.bas\"\n" + save_failed), std::string::npos) << out;
  EXPECT_NE(out.find("ファイルを開くことができません(read)"), std::string::npos) << out;
  EXPECT_EQ(contents(work / "locked" / "prog.bas"), program_text(2, "kept"));
  EXPECT_FALSE(fs::exists(work / "locked" / "new.bas"));
}

// A FIFO and devices that never end or never answer: load refuses them, open
// does not wait for the other end, and Stop ends a read that waits.
TEST(Faults, FifosAndDevicesNeverHangTheSession) {
  WorkFolder work;
  ASSERT_EQ(::mkfifo((work / "fifo").c_str(), 0666), 0);
  Session s(work.path(), {});
  s.type("load \"fifo\"\nload \"/dev/zero\"\nload \"/dev/urandom\"\n"
         "open \"fifo\" for output as #2\n"
         "open \"fifo\" for input as #1\nprint \"[\";input$(5, #1);\"]\";eof(1)\nclose #1\n");
  ASSERT_TRUE(s.wait_for("close #1\n\nREADY\n")) << s.output();
  EXPECT_NE(s.output().find("load \"fifo\"\n" + load_failed), std::string::npos) << s.output();
  EXPECT_NE(s.output().find("load \"/dev/zero\"\n" + load_failed), std::string::npos) << s.output();
  EXPECT_NE(s.output().find("load \"/dev/urandom\"\n" + load_failed), std::string::npos) << s.output();
  EXPECT_NE(s.output().find("ファイルを開くことができません(write)"), std::string::npos) << s.output();
  EXPECT_NE(s.output().find("[]1"), std::string::npos) << s.output();

  // A writer that holds the FIFO open and says nothing: the read waits, Stop ends it.
  int writer = -1;
  s.type("open \"fifo\" for input as #1\n");
  for (int i = 0; i < 1000 && writer < 0; ++i) {
    writer = ::open((work / "fifo").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (writer < 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_GE(writer, 0);
  s.type("input #1, a$\n");
  ASSERT_TRUE(s.wait_for("input #1, a$\n"));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  s.signal(SIGINT);
  ASSERT_TRUE(s.wait_for("Break\n")) << s.output();
  // A device that never ends a line: reading it endlessly, Stop ends it too.
  s.type("close #1\nopen \"/dev/zero\" for input as #3\ninput #3, z$\n");
  ASSERT_TRUE(s.wait_for("input #3, z$\n"));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  s.signal(SIGINT);
  s.type("print \"still here\"\nbye\n");
  EXPECT_EQ(s.finish(), 0);
  ::close(writer);
  EXPECT_NE(s.output().find("input #3, z$\nBreak\n"), std::string::npos) << s.output();
  EXPECT_NE(s.output().find("still here"), std::string::npos) << s.output();
}

// Past the memory budget a program ends with the system error, as when the
// host has no memory left; within it, arrays and strings work as before.
TEST(Faults, MemoryBudgetEndsWithTheSystemError) {
  WorkFolder work;
  write_file(work / "numbers.bas", "dim a(1000000)\na(999999) = 5\nprint a(999999)\ndim b(2000000)\nprint \"never\"\n");
  write_file(work / "texts.bas",
             "dim t$(20000)\ns$ = \"\"\nfor i = 1 to 500\ns$ = s$ + \"x\"\nnext\n"
             "for i = 0 to 20000\nt$(i) = s$\nif i = 10000 then print \"half\"\nnext\nprint \"never\"\n");
  {
    Session s(work.path(), {"--memory-limit", "16", "numbers.bas"});
    EXPECT_EQ(s.finish(), 1);
    EXPECT_EQ(s.output(), "5\nLine 4 : " + system_error + "\n");
  }
  {
    Session s(work.path(), {"--memory-limit", "8", "texts.bas"});
    EXPECT_EQ(s.finish(), 1);
    EXPECT_NE(s.output().find("half\nLine 7 : " + system_error + "\n"), std::string::npos) << s.output();
  }
  {
    // Freed storage is given back: 8 MB arrays one after the other fit in 16 MB.
    Session s(work.path(), {"--memory-limit", "16"});
    for (int i = 0; i < 5; ++i) s.type("dim a(1000000)\na(5) = 1\nclear\n");
    for (int i = 0; i < 4; ++i)
      s.type("s$ = \"\" : for i = 1 to 500 : s$ = s$ + \"x\" : next\n"
             "dim t$(10000) : for i = 0 to 10000 : t$(i) = s$ : next\nclear\n");
    s.type("print \"within\"\nbye\n");
    EXPECT_EQ(s.finish(), 0);
    EXPECT_EQ(s.output().find(system_error), std::string::npos) << s.output();
    EXPECT_NE(s.output().find("within\n"), std::string::npos) << s.output();
  }
}

// A closed stdout ends the process, as it ends any tool writing to a pipe.
TEST(Faults, ClosedStdoutEndsTheProcess) {
  WorkFolder work;
  write_file(work / "yes.bas", "@again\nprint \"y\"\ngoto @again\n");
  int out[2];
  ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
  pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(work.path().c_str()) != 0) _exit(126);
    ::dup2(out[1], 1);
    int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 2);
    ::execl(VORNBASIC_BIN, VORNBASIC_BIN, "--tty", "yes.bas", static_cast<char*>(nullptr));
    _exit(127);
  }
  ::close(out[1]);
  char first[2] = {};
  ASSERT_EQ(::read(out[0], first, 2), 2);
  EXPECT_EQ(std::string(first, 2), "y\n");
  ::close(out[0]);  // as head -1 does
  int status = 0;
  auto deadline = Clock::now() + std::chrono::milliseconds(wait_ms);
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() >= deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      FAIL() << "still printing into a closed pipe";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGPIPE);
}

}  // namespace
