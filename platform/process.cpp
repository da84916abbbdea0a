// process.cpp — posix_spawn and waitpid behind the launcher.
#include "platform/process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

// What a spawned program starts with: no blocked signals, and the default
// action for the signals the system catches or ignores (SIGPIPE is ignored
// here, and an ignored signal would otherwise stay ignored in the child).
struct SpawnAttributes {
  posix_spawnattr_t attr;
  SpawnAttributes() {
    posix_spawnattr_init(&attr);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attr); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
};

struct FileActions {
  posix_spawn_file_actions_t actions;
  FileActions() { posix_spawn_file_actions_init(&actions); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
};

std::vector<char*> argv_of(std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  return argv;
}

// Waits until the child has ended; a signal caught meanwhile does not end the wait.
void wait_for(pid_t pid) {
  int status;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

bool run_and_wait(const std::string& program, const std::vector<std::string>& args) {
  if (program.empty()) return false;
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv = argv_of(words);
  SpawnAttributes attributes;
  pid_t pid;
  if (::posix_spawnp(&pid, program.c_str(), nullptr, &attributes.attr, argv.data(), environ) != 0) return false;
  wait_for(pid);
  return true;
}

void open_document(const std::string& name) {
  // The shell starts the opener in the background and ends at once, so the
  // opener is nobody's child here and no zombie is left behind.
  std::vector<std::string> words{"sh", "-c", "xdg-open \"$1\" &", "sh", name};
  std::vector<char*> argv = argv_of(words);
  FileActions files;
  for (int fd = 0; fd <= 2; ++fd)
    posix_spawn_file_actions_addopen(&files.actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  SpawnAttributes attributes;
  pid_t pid;
  if (::posix_spawn(&pid, "/bin/sh", &files.actions, &attributes.attr, argv.data(), environ) == 0) wait_for(pid);
}

bool terminal_at_hand() { return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1; }

}  // namespace platform
