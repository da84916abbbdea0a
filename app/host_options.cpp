// host_options.cpp — the start-up file, program-file encoding and message language.
#include "app/host_options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/messages.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "statements/program_file.h"

namespace app {

bool read_startup_file(LoopOptions& options) {
  if (options.startup_file.empty()) return true;
  std::string name = platform::utf16_to_utf8(options.startup_file);
  bool read = name == "-" ? platform::read_standard_input(options.startup_text)
                          : platform::read_file(platform::host_path_utf8(name), options.startup_text);
  if (read) return true;
  std::fprintf(stderr, "vornbasic: cannot open %s: %s\n", name.c_str(), std::strerror(errno));
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
