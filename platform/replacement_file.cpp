// replacement_file.cpp — temporary file, fsync, rename.
#include "platform/replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

// The file a symbolic link finally names (the link itself when it dangles).
std::string followed(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string result(real);
  std::free(real);
  return result;
}

std::string folder_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

int open_retrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do fd = ::open(path, flags, mode);
  while (fd < 0 && errno == EINTR);
  return fd;
}

// Makes the rename itself last: the folder's entry is synced too.
void sync_folder(const std::string& path) {
  int fd = open_retrying(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& target) : target_(followed(target)) {
  struct stat st;
  bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) {
    // Never renamed over: a device is written as it is; a FIFO without a
    // reader or a folder refuses at once.
    if (!S_ISDIR(st.st_mode)) fd_ = open_retrying(target_.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC);
    if (fd_ >= 0) ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    return;
  }
  static std::atomic<unsigned> serial{0};
  std::size_t slash = target_.rfind('/');
  std::string folder = slash == std::string::npos ? "" : target_.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = folder + "." + name + "." + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".tmp";
    fd_ = open_retrying(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    temporary_.clear();
    return;
  }
  if (exists && ::fchmod(fd_, st.st_mode & 07777) != 0) failed_ = true;
}

ReplacementFile::~ReplacementFile() { discard(); }

bool ReplacementFile::write(const void* data, std::size_t size) {
  if (fd_ < 0 || failed_) return false;
  auto bytes = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd_, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      return false;
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool ReplacementFile::commit() {
  if (fd_ < 0 || failed_) {
    discard();
    return false;
  }
  if (temporary_.empty()) {  // a device written in place: nothing to rename
    bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
  }
  // A device that cannot sync (EINVAL) has nothing to lose; any other failure is one.
  bool synced = ::fsync(fd_) == 0 || errno == EINVAL;
  bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!synced || !closed || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    discard();
    return false;
  }
  temporary_.clear();
  sync_folder(target_);
  return true;
}

void ReplacementFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool replace_file(const std::string& path, const std::string& bytes) {
  ReplacementFile file(path);
  return file.write(bytes) && file.commit();
}

}  // namespace platform
