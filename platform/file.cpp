// file.cpp — POSIX file descriptors behind File.
#include "platform/file.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/stop_flag.h"

namespace platform {

File::File(File&& other) noexcept { *this = std::move(other); }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.fd_;
    buffer_ = std::move(other.buffer_);
    buffered_ = other.buffered_;
    taken_ = other.taken_;
    other.fd_ = -1;
    other.buffered_ = other.taken_ = 0;
  }
  return *this;
}

namespace {

// Opens without waiting for the other end of a FIFO. The descriptor stays
// non-blocking: where a read or write would wait, File waits itself, watching
// the stop flag (a regular file never waits).
int open_at_once(const std::string& path, int flags, mode_t mode = 0) {
  int fd;
  do fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
  while (fd < 0 && errno == EINTR);
  return fd;
}

// One read or write, waiting for the descriptor where it would block.
template <typename Call>
ssize_t when_ready(int fd, short events, Call call) {
  for (;;) {
    ssize_t n = call();
    if (n >= 0 || (errno != EINTR && errno != EAGAIN)) return n;
    if (errno == EAGAIN) {
      if (stop_requested()) return -1;
      pollfd p{fd, events, 0};
      ::poll(&p, 1, stop_poll_ms);
    }
  }
}

}  // namespace

File File::open_read(const std::string& path) {
  int fd = open_at_once(path, O_RDONLY);
  // A folder opens for reading on Linux but is no file to read.
  struct stat st;
  if (fd >= 0 && (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
    ::close(fd);
    fd = -1;
    errno = EISDIR;
  }
  return File(fd);
}

File File::create_write(const std::string& path) {
  return File(open_at_once(path, O_WRONLY | O_CREAT | O_TRUNC, 0666));
}


ssize_t File::read(void* buffer, std::size_t size) {
  if (fd_ < 0) return -1;
  if (taken_ == buffered_ && size < read_ahead) {
    if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(read_ahead);
    ssize_t n = when_ready(fd_, POLLIN, [&] { return ::read(fd_, buffer_.get(), read_ahead); });
    if (n <= 0) return n;
    buffered_ = static_cast<std::size_t>(n);
    taken_ = 0;
  }
  if (taken_ < buffered_) {
    std::size_t n = std::min(size, buffered_ - taken_);
    std::memcpy(buffer, buffer_.get() + taken_, n);
    taken_ += n;
    return static_cast<ssize_t>(n);
  }
  return when_ready(fd_, POLLIN, [&] { return ::read(fd_, buffer, size); });
}

bool File::write(const void* data, std::size_t size) {
  if (fd_ < 0) return false;
  if (taken_ < buffered_ && !seek_relative(0)) return false;  // write where the reader stands
  auto bytes = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = when_ready(fd_, POLLOUT, [&] { return ::write(fd_, bytes, size); });
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool File::seek_relative(off_t offset) {
  if (fd_ < 0) return false;
  auto ahead = static_cast<off_t>(buffered_ - taken_);
  if (offset < 0 && static_cast<off_t>(taken_) >= -offset) {
    taken_ -= static_cast<std::size_t>(-offset);  // still inside what was read ahead
    return true;
  }
  buffered_ = taken_ = 0;
  return ::lseek(fd_, offset - ahead, SEEK_CUR) >= 0;
}

void File::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  buffered_ = taken_ = 0;
}

bool File::identity(FileIdentity& id) const {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return false;
  id = {st.st_dev, st.st_ino};
  return true;
}

bool File::regular_size(std::uint64_t& size) const {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  size = static_cast<std::uint64_t>(st.st_size);
  return true;
}

bool file_identity(const std::string& path, FileIdentity& id) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  id = {st.st_dev, st.st_ino};
  return true;
}

bool read_file(const std::string& path, std::string& bytes, std::size_t max_bytes) {
  File f = File::open_read(path);
  if (!f.is_open()) return false;
  bytes.clear();
  char chunk[4096];
  while (bytes.size() < max_bytes) {
    std::size_t want = std::min(sizeof chunk, max_bytes - bytes.size());
    ssize_t n = f.read(chunk, want);
    if (n <= 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  return true;
}

bool read_standard_input(std::string& bytes) {
  bytes.clear();
  char chunk[4096];
  for (;;) {
    ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
}

}  // namespace platform
