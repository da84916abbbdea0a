// program_file.h — program files as the host has them: Shift-JIS (the
// device's format) or UTF-8, a #! first line for scripts, a last line
// without its line end. The interpreter always holds Shift-JIS lines.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statements {

enum class ProgramEncoding { cp932, utf8 };

// How a program's file is written: what the file it came from had.
struct FileForm {
  ProgramEncoding encoding = ProgramEncoding::cp932;
  // Line ends as the file had them: CR LF or LF. Unknown (a new program, a
  // file without a line end): CR LF in Shift-JIS as on the device, LF in UTF-8.
  std::optional<bool> crlf;
  std::string script_line;  // a "#!" first line, without its line end

  bool ends_with_crlf() const { return crlf.value_or(encoding == ProgramEncoding::cp932); }
};

struct ProgramFiles {
  // --encoding: files are read and written in this encoding, never detected.
  std::optional<ProgramEncoding> forced;
  // The form of the program in memory; new gives the device's form.
  FileForm form;
};
extern ProgramFiles program_files;

// A file's bytes taken apart into Shift-JIS program lines.
struct ProgramText {
  std::vector<std::string> lines;
  FileForm form;
  std::size_t substituted = 0;  // characters Shift-JIS lacks, now '?'
};

// A UTF-8 byte-order mark, or well-formed UTF-8 with a character beyond
// ASCII, is UTF-8; everything else is Shift-JIS. forced skips the detection.
// The mark and a first line starting with "#!" are not program lines; a last
// line without its line end is one. Lines end at LF, CR is dropped, a NUL
// ends a line's text, and a line keeps at most 255 bytes of Shift-JIS.
ProgramText decode_program(std::string_view bytes, std::optional<ProgramEncoding> forced);

// Shift-JIS program lines as a file of the given form, each line ended.
std::string encode_program(const std::vector<std::string>& lines, const FileForm& form);

}  // namespace statements
