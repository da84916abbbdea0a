// replacement_file.h — a new whole content for a file, which either replaces
// the old one entirely or leaves it exactly as it was.
#pragma once
#include <cstddef>
#include <string>

namespace platform {

// Written under a temporary name beside the target, checked write by write,
// synced, then renamed over the target (a symbolic link is followed and the
// file it names replaced; the target's permission bits are kept). A target
// that exists and is no regular file (a device such as /dev/null) is written
// in place, every write checked. Whatever fails, and a replacement dropped
// without commit, removes the temporary file.
class ReplacementFile {
 public:
  explicit ReplacementFile(const std::string& target);
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // False when the temporary file could not be created.
  bool is_open() const { return fd_ >= 0; }
  // False once any write has failed.
  bool write(const void* data, std::size_t size);
  bool write(const std::string& bytes) { return write(bytes.data(), bytes.size()); }
  // Syncs, closes and renames; true only when the target now holds exactly
  // what was written.
  bool commit();

 private:
  void discard();

  std::string target_;
  std::string temporary_;  // empty when writing the target in place
  int fd_ = -1;
  bool failed_ = false;
};

// The whole of bytes as the new content of path, as above.
bool replace_file(const std::string& path, const std::string& bytes);

}  // namespace platform
