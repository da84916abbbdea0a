// Line editing at a terminal, driven through a pseudo-terminal as a user's
// keys would: cursor keys, Home/End, Backspace over Japanese characters,
// history across sessions, Ctrl-C as Stop, Ctrl-D as the end of the input,
// and edit handing the terminal's editor UTF-8.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string left = "\x1b[D", up = "\x1b[A", home = "\x1b[H", end = "\x1b[F";
const std::string ctrl_c = "\x03", ctrl_d = "\x04", backspace = "\x7f";

std::string read_all(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_all(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

// vornbasic --tty on a pseudo-terminal of 80 columns, in a work folder whose
// state folder holds the history.
class Session {
 public:
  Session(const fs::path& work, const std::vector<std::string>& env = {}) {
    winsize size{24, 80, 0, 0};
    pid_ = ::forkpty(&master_, nullptr, nullptr, &size);
    if (pid_ == 0) {
      if (::chdir(work.c_str()) != 0) _exit(126);
      ::setenv("TERM", "xterm", 1);
      ::setenv("XDG_STATE_HOME", (work / "state").c_str(), 1);
      ::unsetenv("VISUAL");
      ::unsetenv("EDITOR");
      for (const std::string& e : env) ::putenv(::strdup(e.c_str()));
      std::string root = (work / "root").string();
      ::execl(VORNBASIC_BIN, VORNBASIC_BIN, "--tty", "--root", root.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Session() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) ::close(master_);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  bool started() const { return pid_ > 0 && master_ >= 0; }

  void type(const std::string& keys) {
    // One key sequence at a time, as a user types; libedit reads them apart.
    ASSERT_EQ(::write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }

  // Reads until text appears after what earlier waits consumed; false after
  // ten seconds or when the program has gone.
  bool wait_for(const std::string& text) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
      std::size_t at = output_.find(text, consumed_);
      if (at != std::string::npos) {
        consumed_ = at + text.size();
        return true;
      }
      auto left_ms =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
      pollfd p{master_, POLLIN, 0};
      if (left_ms <= 0 || ::poll(&p, 1, static_cast<int>(left_ms)) <= 0) return false;
      char buffer[4096];
      ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) return false;  // EIO once the program has gone
      output_.append(buffer, static_cast<std::size_t>(n));
    }
  }

  // Waits for text that comes just before the editor reads (a prompt), and
  // then for the editor to take the terminal. Until it has, the terminal is in
  // its own line mode: Ctrl-C there stops what runs, and Ctrl-D is the
  // terminal's end of file, lost to the editor. Keys typed ahead otherwise
  // wait and reach the editor, but these tests type each line at its prompt.
  bool prompt(const std::string& text) {
    bool seen = wait_for(text);
    ::usleep(200000);
    return seen;
  }

  // Ctrl-D on the empty line at the prompt.
  void end_input() {
    ::usleep(200000);
    type(ctrl_d);
  }

  // Waits for the program to end; its exit status, or -1 when it has not
  // ended within ten seconds.
  int finish() {
    wait_for("\x01never\x01");  // drains the output until the terminal closes
    int status = 0;
    for (int i = 0; i < 100; ++i) {
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      ::usleep(100000);
    }
    return -1;
  }

  const std::string& output() const { return output_; }

 private:
  pid_t pid_ = -1;
  int master_ = -1;
  std::string output_;
  std::size_t consumed_ = 0;
};

class LineEditor : public testing::Test {
 protected:
  void SetUp() override {
    work_ = fs::temp_directory_path() / ("vorn-line-editor-" + std::to_string(::getpid()));
    fs::remove_all(work_);
    fs::create_directories(work_ / "root");
  }
  void TearDown() override { fs::remove_all(work_); }

  fs::path work_;
};

TEST_F(LineEditor, CursorKeysEditTheLineAndUpRecallsIt) {
  Session s(work_);
  ASSERT_TRUE(s.started());
  ASSERT_TRUE(s.prompt("READY\r\n"));
  s.type("print \"abc\"");
  for (int i = 0; i < 3; ++i) s.type(left);
  s.type("X\r");
  EXPECT_TRUE(s.prompt("aXbc\r\n\r\nREADY\r\n")) << s.output();
  s.type(up);
  s.type("\r");
  EXPECT_TRUE(s.prompt("aXbc\r\n\r\nREADY\r\n")) << s.output();
  // Home and End.
  s.type("rint 7");
  s.type(home);
  s.type("p");
  s.type(end);
  s.type("8\r");
  EXPECT_TRUE(s.wait_for("78\r\n\r\nREADY\r\n")) << s.output();
  s.end_input();
  EXPECT_TRUE(s.wait_for("<< BYE >>")) << s.output();
  EXPECT_EQ(s.finish(), 0);
  // The history keeps each line once, in UTF-8, in the state folder.
  EXPECT_EQ(read_all(work_ / "state" / "vornbasic" / "history"), "print \"aXbc\"\nprint 78\n");
  // Answers to input are kept there too: the file is the user's alone.
  auto others = fs::perms::group_all | fs::perms::others_all;
  EXPECT_EQ(fs::status(work_ / "state" / "vornbasic" / "history").permissions() & others, fs::perms::none);
  EXPECT_EQ(fs::status(work_ / "state" / "vornbasic").permissions() & others, fs::perms::none);
}

TEST_F(LineEditor, HistoryIsKeptAcrossSessions) {
  fs::create_directories(work_ / "state" / "vornbasic");
  write_all(work_ / "state" / "vornbasic" / "history", "print \"\xE5\x89\x8D\"\nprint 1+1\n");  // 前
  Session s(work_);
  ASSERT_TRUE(s.prompt("READY\r\n"));
  s.type(up);
  s.type(up);
  s.type("\r");
  EXPECT_TRUE(s.prompt("\xE5\x89\x8D\r\n\r\nREADY\r\n")) << s.output();
  s.type(up);
  s.type(up);
  s.type("\r");
  EXPECT_TRUE(s.wait_for("2\r\n\r\nREADY\r\n")) << s.output();
  s.end_input();
  EXPECT_EQ(s.finish(), 0);
  EXPECT_EQ(read_all(work_ / "state" / "vornbasic" / "history"),
            "print \"\xE5\x89\x8D\"\nprint 1+1\nprint \"\xE5\x89\x8D\"\nprint 1+1\n");
}

TEST_F(LineEditor, JapaneseCharactersMoveAndEraseWhole) {
  Session s(work_);
  ASSERT_TRUE(s.prompt("READY\r\n"));
  s.type("print \"\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\"");  // "あいう"
  s.type(left);
  s.type(left);
  s.type(backspace);  // い
  s.type("\r");
  EXPECT_TRUE(s.prompt("\xE3\x81\x82\xE3\x81\x86\r\n\r\nREADY\r\n")) << s.output();  // あう
  // Typed before Japanese text that is already there.
  s.type("\xE3\x81\x84\xE3\x81\x86\"");
  s.type(home);
  s.type("print \"\xE3\x81\x82");
  s.type("\r");
  EXPECT_TRUE(s.wait_for("\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\r\n\r\nREADY\r\n")) << s.output();
  s.end_input();
  EXPECT_EQ(s.finish(), 0);
}

TEST_F(LineEditor, CtrlCIsStopAndCtrlDEndsOnlyAnEmptyLine) {
  Session s(work_);
  ASSERT_TRUE(s.prompt("READY\r\n"));
  s.type("print 5");
  s.type(ctrl_c);  // the line is dropped: an empty line, nothing runs
  ASSERT_TRUE(s.prompt("\r\n"));
  s.type("print 6\r");
  EXPECT_TRUE(s.prompt("6\r\n\r\nREADY\r\n")) << s.output();
  // The dropped line may have been echoed ("print 5"), but it never ran.
  EXPECT_EQ(s.output().find("\n5\r\n"), std::string::npos) << s.output();
  // At input, Stop ends the program with Break.
  s.type("input a:print \"after\"\r");
  EXPECT_TRUE(s.prompt("? "));
  s.type("12");
  s.type(ctrl_c);
  EXPECT_TRUE(s.prompt("Break\r\nREADY\r\n")) << s.output();
  EXPECT_EQ(s.output().find("after\r\n"), std::string::npos) << s.output();
  // Ctrl-D deletes inside a line and ends the input only on an empty one.
  s.type("print 12345");
  s.type(home);
  s.type("\x1b[C\x1b[C");  // two to the right
  s.type(ctrl_d);
  s.type("\r");
  EXPECT_TRUE(s.wait_for("\r\n" "\xE6\x96\x87\xE6\xB3\x95")) << s.output();  // 文法エラーです: "prnt"
  EXPECT_TRUE(s.wait_for("READY\r\n"));
  s.end_input();
  EXPECT_TRUE(s.wait_for("<< BYE >>")) << s.output();
  EXPECT_EQ(s.finish(), 0);
}

TEST_F(LineEditor, InputKeepsItsPromptAndIsEdited) {
  Session s(work_);
  ASSERT_TRUE(s.prompt("READY\r\n"));
  s.type("input \"\xE5\x90\x8D\xE5\x89\x8D? \";a$:print a$+\"!\"\r");  // 名前?
  ASSERT_TRUE(s.prompt("\xE5\x90\x8D\xE5\x89\x8D? ")) << s.output();
  s.type("abc");
  s.type(left);
  s.type(left);
  s.type("X\r");
  EXPECT_TRUE(s.wait_for("aXbc!\r\n\r\nREADY\r\n")) << s.output();
  s.end_input();
  EXPECT_EQ(s.finish(), 0);
}

// The terminal's editor gets the program in UTF-8 and gives it back so; the
// program keeps the encoding of its own file.
TEST_F(LineEditor, EditHandsTheTerminalsEditorUtf8) {
  write_all(work_ / "p.bas", "print \"\x82\xA0\"\r\n");  // あ in Shift-JIS
  write_all(work_ / "ed.sh", "cp \"$1\" seen\nprintf 'print \"\\343\\201\\210\"\\n' >> \"$1\"\n");  // え
  Session s(work_, {"EDITOR=sh ed.sh"});
  ASSERT_TRUE(s.prompt("READY\r\n"));
  s.type("load \"p.bas\"\r");
  ASSERT_TRUE(s.prompt("READY\r\n"));
  s.type("edit\r");
  ASSERT_TRUE(s.prompt("READY\r\n"));
  s.type("run\r");
  EXPECT_TRUE(s.prompt("\xE3\x81\x82\r\n\xE3\x81\x88\r\n\r\nREADY\r\n")) << s.output();
  s.type("save \"q.bas\"\r");
  ASSERT_TRUE(s.prompt("READY\r\n"));
  s.end_input();
  EXPECT_EQ(s.finish(), 0);
  EXPECT_EQ(read_all(work_ / "seen"), "print \"\xE3\x81\x82\"\n");
  EXPECT_EQ(read_all(work_ / "q.bas"), "print \"\x82\xA0\"\r\nprint \"\x82\xA6\"\r\n");
}

}  // namespace
