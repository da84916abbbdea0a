// Tests of network channels against real peers on 127.0.0.1: BASIC programs
// run by `vornbasic --tty` talk to a peer of the test or to a second BASIC
// process. Ports are chosen at run time; every wait is bounded.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "machine/channel_table.h"
#include "machine/errors.h"
#include "machine/evaluator.h"
#include "machine/lexer.h"
#include "machine/value_stack.h"
#include "statements/file_channels.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int wait_ms = 10000;  // the longest any step may take

int ms_left(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

Clock::time_point deadline_in(int ms) { return Clock::now() + std::chrono::milliseconds(ms); }

// Replaces every mark in text by value.
std::string filled(std::string text, std::string_view mark, std::string_view value) {
  for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, mark.size(), value);
  return text;
}

std::string with_port(const std::string& text, int port) { return filled(text, "PORT", std::to_string(port)); }

// An owned descriptor of the test's side.
struct Fd {
  int fd = -1;
  explicit Fd(int f = -1) : fd(f) {}
  Fd(Fd&& o) noexcept : fd(o.fd) { o.fd = -1; }
  Fd& operator=(Fd&& o) noexcept {
    std::swap(fd, o.fd);
    return *this;
  }
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

sockaddr_in loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

int port_of(int fd) {
  sockaddr_in a{};
  socklen_t n = sizeof a;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
  return ntohs(a.sin_port);
}

// A socket bound to a port of the system's choosing; listening if asked.
// Bound but not listening, it refuses every connection to its port.
Fd bound_socket(bool listening) {
  Fd s(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in a = loopback(0);
  EXPECT_EQ(::bind(s.fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  if (listening) {
    EXPECT_EQ(::listen(s.fd, 4), 0);
  }
  return s;
}

// A port that was free a moment ago, for servers the BASIC program opens.
int free_port() { return port_of(bound_socket(false).fd); }

Fd accept_within(int listener, int ms) {
  pollfd p{listener, POLLIN, 0};
  if (::poll(&p, 1, ms) <= 0) return Fd();
  return Fd(::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC));
}

// Connects to a server that may not listen yet, trying until it does.
Fd connect_within(int port, int ms) {
  auto deadline = deadline_in(ms);
  do {
    Fd s(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in a = loopback(port);
    if (::connect(s.fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return s;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (ms_left(deadline) > 0);
  return Fd();
}

// Reads from a socket until the bytes end with tail; what was read.
std::string read_until(int fd, const std::string& tail, int ms = wait_ms) {
  std::string got;
  auto deadline = deadline_in(ms);
  while (!got.ends_with(tail)) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, ms_left(deadline)) <= 0) break;
    char buffer[512];
    ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    got.append(buffer, static_cast<std::size_t>(n));
  }
  return got;
}

void send_text(int fd, const std::string& text) {
  ASSERT_EQ(::send(fd, text.data(), text.size(), MSG_NOSIGNAL), static_cast<ssize_t>(text.size()));
}

// True when something on this machine listens on the port (IPv4).
bool is_listening(int port) {
  std::ifstream table("/proc/net/tcp");
  char hex[8];
  std::snprintf(hex, sizeof hex, ":%04X", port);
  for (std::string line; std::getline(table, line);) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    if (local.ends_with(hex) && state == "0A") return true;
  }
  return false;
}

bool wait_listening(int port, int ms = wait_ms) {
  auto deadline = deadline_in(ms);
  while (!is_listening(port)) {
    if (ms_left(deadline) == 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// A `vornbasic --tty PROGRAM` process with its own working folder. Its
// output to a pipe comes at the end, so a test follows a running program by
// what it does on the network and in its folder. Killed when the test lets
// go of it.
class BasicRun {
 public:
  explicit BasicRun(const std::string& program) {
    static int counter = 0;
    work_ = fs::temp_directory_path() /
            ("vorn-network-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(work_);
    fs::create_directories(work_ / "root");
    std::ofstream(work_ / "program.bas", std::ios::binary) << program;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      if (::chdir(work_.c_str()) != 0) _exit(126);
      int in = ::open("/dev/null", O_RDONLY);
      ::dup2(in, 0);
      ::dup2(out[1], 1);
      ::dup2(out[1], 2);
      std::string root = (work_ / "root").string();
      ::execl(VORNBASIC_BIN, VORNBASIC_BIN, "--tty", "--seed", "1", "--root", root.c_str(), "program.bas",
              static_cast<char*>(nullptr));
      _exit(127);
    }
    ::close(out[1]);
    out_ = Fd(out[0]);
  }
  ~BasicRun() {
    if (pid_ > 0 && status_ < 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    fs::remove_all(work_);
  }

  // A file the program may have written.
  bool has_file(const char* name) const { return fs::exists(work_ / name); }

  // Waits for the end of the program: its exit status, or -1 when it had to
  // be killed.
  int finish(int ms = wait_ms) {
    auto deadline = deadline_in(ms);
    while (gather(ms_left(deadline))) {
    }
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
      if (ms_left(deadline) == 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
        status_ = -1;
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    return status_;
  }

  const std::string& output() const { return output_; }

 private:
  // One piece of output; false at its end or when the time ran out.
  bool gather(int ms) {
    pollfd p{out_.fd, POLLIN, 0};
    if (ms <= 0 || ::poll(&p, 1, ms) <= 0) return false;
    char buffer[4096];
    ssize_t n = ::read(out_.fd, buffer, sizeof buffer);
    if (n <= 0) return false;
    output_.append(buffer, static_cast<std::size_t>(n));
    return true;
  }

  fs::path work_;
  pid_t pid_ = -1;
  int status_ = -1;
  Fd out_;
  std::string output_;
};

// A client that talks with a peer of the test: what arrives, partial reads,
// the empty receives before data and after the peer's close, and the hex port.
TEST(NetworkChannels, ClientExchangesWithPeer) {
  Fd listener = bound_socket(true);
  int port = port_of(listener.fd);
  char hex[16];
  std::snprintf(hex, sizeof hex, "&h%x", port);
  BasicRun basic(filled(R"(open "net:127.0.0.1:PORT" as #1
a$ = input$(10, #1)
print "[" + a$ + "]"; eof(1); " "; netstat
print #1, "ready"; 12; ",";
print #1, "x", 2
@w
a$ = input$(3, #1)
if a$ = "" then @w
print a$; eof(1)
b$ = input$(100, #1)
print b$; eof(1)
input #1, c$
print "not reached"
)", "PORT", hex));
  Fd peer = accept_within(listener.fd, wait_ms);
  ASSERT_GE(peer.fd, 0) << basic.output();
  // The program has made its first receive before it sends.
  EXPECT_EQ(read_until(peer.fd, "2\r\n"), "ready12,x\t2\r\n");
  send_text(peer.fd, "hello!");
  EXPECT_EQ(basic.finish(), 1);
  EXPECT_EQ(basic.output(),
            "[]2 0\n"
            "hel0\n"
            "lo!0\n"
            "Line 12 : ファイルが開いていません\n");
}

// The program waits for the first receive that is not "nothing yet", then
// sends until a send fails.
const char* const after_peer_program = R"(open "net:localhost:PORT" as #3
@w
a$ = input$(10, 3)
if eof(3) = 2 then @w
print "["; a$; "]"; eof(3)
for i = 1 to 1000
print #3, "more"
if eof(3) = -1 then @failed
next
print "never failed"
end
@failed
print "send failed"
)";

// After the peer has closed: a receive gives "" with eof 0, and print # on
// the broken connection makes eof -1.
TEST(NetworkChannels, ClientAfterPeerClosed) {
  Fd listener = bound_socket(true);
  BasicRun basic(with_port(after_peer_program, port_of(listener.fd)));
  accept_within(listener.fd, wait_ms);  // and closed at once
  EXPECT_EQ(basic.finish(), 0);
  EXPECT_EQ(basic.output(), "[]0\nsend failed\n");
}

// A connection reset by the peer: the receive fails, eof 1.
TEST(NetworkChannels, ClientAfterPeerReset) {
  Fd listener = bound_socket(true);
  BasicRun basic(with_port(after_peer_program, port_of(listener.fd)));
  {
    Fd peer = accept_within(listener.fd, wait_ms);
    ASSERT_GE(peer.fd, 0) << basic.output();
    linger hard{1, 0};  // close with a reset
    ::setsockopt(peer.fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  }
  EXPECT_EQ(basic.finish(), 0);
  EXPECT_EQ(basic.output(), "[]1\nsend failed\n");
}

// Refusals: a dotted address, a name whose every address refuses.
TEST(NetworkChannels, RefusedConnections) {
  Fd refusing = bound_socket(false);
  BasicRun basic(with_port(R"(open "a.txt" for output as #2
open "net:127.0.0.1:PORT" as #2
)", port_of(refusing.fd)));
  EXPECT_EQ(basic.finish(), 1);
  EXPECT_EQ(basic.output(), "Line 2 : 接続できません(connect)\n");
  BasicRun by_name(with_port(R"(open "net:localhost:PORT" as #2
)", port_of(refusing.fd)));
  EXPECT_EQ(by_name.finish(), 1);
  EXPECT_EQ(by_name.output(), "Line 1 : ホスト名解決に失敗しました\n");
}

// A server does not go on before its client comes; it then talks with it.
TEST(NetworkChannels, ServerWaitsForItsClient) {
  int port = free_port();
  BasicRun basic(with_port(R"(print "waiting"
open "server:PORT" as #0
open "connected.txt" for output as #1
print "connected"; eof(0)
print #0, "hi"
@w
a$ = input$(511, #0)
if a$ = "" then @w
print a$;
close #0
print input$(1, 0)
)", port));
  ASSERT_TRUE(wait_listening(port)) << basic.output();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(basic.has_file("connected.txt")) << "open returned without a client";
  Fd client = connect_within(port, wait_ms);
  ASSERT_GE(client.fd, 0);
  EXPECT_EQ(read_until(client.fd, "hi\r\n"), "hi\r\n");
  send_text(client.fd, "from the client\r\n");
  EXPECT_EQ(basic.finish(), 1);
  EXPECT_EQ(basic.output(), "waiting\nconnected0\nfrom the client\nLine 11 : ファイルが開いていません\n");
}

// A port another socket listens on cannot be bound.
TEST(NetworkChannels, ServerPortTaken) {
  Fd taken = bound_socket(true);
  BasicRun basic(with_port("open \"server:PORT\" as #1\n", port_of(taken.fd)));
  EXPECT_EQ(basic.finish(), 1);
  EXPECT_EQ(basic.output(), "Line 1 : 接続できません(bind)\n");
}

// Two BASIC processes: one serves, the other connects; each polls for the
// other's line (sent whole, in one print # item). After close the server
// serves a second client on the same port: close let go of the listening
// socket. Each client waits for the server's close before it ends, so the
// next one finds the new listening socket.
TEST(NetworkChannels, TwoProgramsTalk) {
  int port = free_port();
  // Each round serves on another channel: the last one's listening socket
  // must be gone for the port to be bound again, whether close or an open of
  // a file on that channel let go of it.
  const char* server_program = R"(open "server:PORT" as #5
@w
a$ = input$(511, #5)
if a$ = "" then @w
print #5, "echo " + a$;
close #5
print "got "; a$;
open "server:PORT" as #6
@v
a$ = input$(511, #6)
if a$ = "" then @v
print #6, "echo " + a$;
open "log.txt" for output as #6
print "got "; a$;
open "server:PORT" as #7
@u
a$ = input$(511, #7)
if a$ = "" then @u
print #7, "echo " + a$;
close #7
print "got "; a$;
)";
  const char* client_program = R"(open "net:127.0.0.1:PORT" as #1
print #1, "ping NAME" + chr$(13) + chr$(10);
@w
a$ = input$(511, #1)
if a$ = "" then @w
print a$;
@c
b$ = input$(511, #1)
if eof(1) = 2 then @c
close
)";
  BasicRun server(with_port(server_program, port));
  for (std::string name : {"one", "two", "three"}) {
    ASSERT_TRUE(wait_listening(port)) << server.output();
    BasicRun client(filled(with_port(client_program, port), "NAME", name));
    EXPECT_EQ(client.finish(), 0);
    EXPECT_EQ(client.output(), "echo ping " + name + "\n");
  }
  EXPECT_EQ(server.finish(), 0);
  EXPECT_EQ(server.output(), "got ping one\ngot ping two\ngot ping three\n");
}

// Runs an open statement in this process.
void run_open(const std::string& line) {
  machine::start_reading(line.c_str());
  machine::next_token();
  statements::open_statement();
}

std::string string_of(const char* text) {
  machine::start_reading(text);
  machine::clear_value();
  machine::evaluate();
  return machine::get_string();
}

// In-process: the fields of a client open, and the default port.
TEST(NetworkChannels, ClientRecordFields) {
  machine::init_channel_table();
  machine::Channel& ch = machine::channel_table[7];
  Fd refusing = bound_socket(false);
  EXPECT_THROW(run_open(with_port("open \"net:127.0.0.1:PORT\" as #7", port_of(refusing.fd))), machine::BasicError);
  EXPECT_EQ(ch.address.family, 2);
  EXPECT_EQ(ntohs(ch.address.port), port_of(refusing.fd));
  EXPECT_EQ(ntohl(ch.address.address), INADDR_LOOPBACK);
  EXPECT_TRUE(ch.is_free());
  EXPECT_EQ(ch.net_status, 0);

  // Without a port: 80 (whatever answers there).
  try {
    run_open("open \"net:127.0.0.1\" as #7");
  } catch (const machine::BasicError&) {
  }
  EXPECT_EQ(ntohs(ch.address.port), 80);
  machine::init_channel_table();
}

// In-process: a received text ends at its first NUL byte, which alone is
// lost: what followed it comes with the next input$; net_status follows each
// receive; close frees the channel.
TEST(NetworkChannels, ReceiveStopsAtNul) {
  machine::init_channel_table();
  machine::Channel& ch = machine::channel_table[6];
  Fd listener = bound_socket(true);
  run_open(with_port("open \"net:127.0.0.1:PORT\" as #6", port_of(listener.fd)));
  Fd peer = accept_within(listener.fd, wait_ms);
  ASSERT_GE(peer.fd, 0);
  EXPECT_EQ(string_of("input$(5, #6)"), "");
  EXPECT_EQ(ch.net_status, machine::net_nothing_yet);
  send_text(peer.fd, std::string("ab\0cd", 5));
  pollfd p{ch.conn_socket.handle(), POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, wait_ms), 1);
  EXPECT_EQ(string_of("input$(10, 6)"), "ab");
  EXPECT_EQ(ch.net_status, machine::net_ok);
  EXPECT_EQ(string_of("input$(10, 6)"), "cd");
  EXPECT_EQ(ch.net_status, machine::net_ok);
  EXPECT_EQ(string_of("input$(10, 6)"), "");
  EXPECT_EQ(ch.net_status, machine::net_nothing_yet);
  // A NUL first, two in a row, and a count that ends before the NUL.
  send_text(peer.fd, std::string("\0xy\0\0z12345", 11));
  ASSERT_EQ(::poll(&p, 1, wait_ms), 1);
  EXPECT_EQ(string_of("input$(10, 6)"), "");
  EXPECT_EQ(ch.net_status, machine::net_ok);
  EXPECT_EQ(string_of("input$(10, 6)"), "xy");
  EXPECT_EQ(string_of("input$(10, 6)"), "");
  EXPECT_EQ(string_of("input$(2, 6)"), "z1");
  EXPECT_EQ(string_of("input$(10, 6)"), "2345");
  machine::start_reading("close #6");
  machine::next_token();
  statements::close_statement();
  EXPECT_TRUE(ch.is_free());
  EXPECT_EQ(ch.net_status, machine::net_none);
  EXPECT_EQ(read_until(peer.fd, "never"), "");  // the peer sees the end
}

}  // namespace
