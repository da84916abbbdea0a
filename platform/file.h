// file.h — an owned file descriptor with the few operations the system uses.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/types.h>

namespace platform {

// What tells two names of one file apart from two files: device and inode.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

class File {
 public:
  File() = default;
  ~File() { close(); }
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens an existing file for reading. Never waits: a FIFO without a writer
  // opens at once (and reads as ended while nobody writes).
  static File open_read(const std::string& path);
  // Creates a file for writing, emptying an existing one. Never waits: a FIFO
  // without a reader does not open.
  static File create_write(const std::string& path);

  bool is_open() const { return fd_ >= 0; }
  // Bytes read (0 at the end of the file), or -1 on failure. On a device or
  // FIFO a read that has to wait gives up (-1) when Stop is requested.
  ssize_t read(void* buffer, std::size_t size);
  // Writes everything it can; returns false on failure (also when a wait
  // for a device or FIFO is given up for Stop).
  bool write(const void* data, std::size_t size);
  bool write(const std::string& bytes) { return write(bytes.data(), bytes.size()); }
  // Moves the position relative to the current one.
  bool seek_relative(off_t offset);
  void close();
  // The identity of the open file; false when there is none.
  bool identity(FileIdentity& id) const;
  // The size of an open regular file; false for anything else (device, FIFO).
  bool regular_size(std::uint64_t& size) const;

 private:
  explicit File(int fd) : fd_(fd) {}
  int fd_ = -1;
  // Read-ahead: reads of a few bytes at a time (line reading goes byte by
  // byte) are served from here; seek_relative accounts for it. Made at the
  // first such read, so that a closed channel costs no memory.
  static constexpr std::size_t read_ahead = 4096;
  std::unique_ptr<char[]> buffer_;
  std::size_t buffered_ = 0;  // bytes in buffer_
  std::size_t taken_ = 0;     // bytes of buffer_ already handed out
};

// The identity of the file a path names; false when it does not exist.
bool file_identity(const std::string& path, FileIdentity& id);

// Whole-file helpers for small files (settings, images, tests).
// False when the file cannot be opened, errno telling why (EISDIR for a folder).
bool read_file(const std::string& path, std::string& bytes, std::size_t max_bytes = std::string::npos);
// All of stdin, up to its end; false (with errno) when it cannot be read.
bool read_standard_input(std::string& bytes);

}  // namespace platform
