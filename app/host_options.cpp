// host_options.cpp — the start-up file, program-file encoding and message language.
#include "app/host_options.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/limits.h"
#include "base/messages.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "statements/program_file.h"

namespace app {

namespace {

// Reads a program file whole; the reason it could not, or none. It must be a
// regular file of bounded size: a device or a FIFO would never end.
const char* read_program(const std::string& path, std::string& bytes) {
  platform::File file = platform::File::open_read(path);
  if (!file.is_open()) return std::strerror(errno);
  std::uint64_t size = 0;
  if (!file.regular_size(size)) return "not a regular file";
  if (size > limits::program_file_bytes) return "file too large";
  if (!platform::read_file(path, bytes, limits::program_file_bytes)) return std::strerror(errno);
  return nullptr;
}

}  // namespace

bool read_startup_file(LoopOptions& options) {
  if (options.startup_file.empty()) return true;
  std::string name = platform::utf16_to_utf8(options.startup_file);
  const char* failure = nullptr;
  if (name == "-") {
    if (!platform::read_standard_input(options.startup_text)) failure = std::strerror(errno);
  } else {
    failure = read_program(platform::host_path_utf8(name), options.startup_text);
  }
  if (!failure) return true;
  std::fprintf(stderr, "vornbasic: cannot open %s: %s\n", name.c_str(), failure);
  return false;
}

void set_program_encoding(std::string_view name) {
  if (name == "cp932") statements::program_files.forced = statements::ProgramEncoding::cp932;
  else if (name == "utf-8") statements::program_files.forced = statements::ProgramEncoding::utf8;
}

void set_message_language(std::string_view name) {
  if (name.empty()) {
    const char* v = std::getenv("VORNBASIC_MESSAGES");
    name = v ? v : "";
  }
  base::use_english_messages(name == "en");
}

}  // namespace app
