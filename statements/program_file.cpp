// program_file.cpp — encodings, script lines and line ends of program files.
#include "statements/program_file.h"

#include <algorithm>

#include "base/limits.h"
#include "platform/text_codec.h"

namespace statements {

ProgramFiles program_files;

namespace {

constexpr std::string_view utf8_mark = "\xEF\xBB\xBF";

// At most max bytes of Shift-JIS text, never half a double-byte character.
std::string cut_sjis(std::string text, std::size_t max) {
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t n = platform::is_sjis_lead(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + n > max) break;
    end += n;
  }
  text.resize(std::min(end, text.size()));
  return text;
}

// One UTF-8 line in Shift-JIS; counts the characters that became '?'.
std::string utf8_line_to_sjis(std::string_view line, std::size_t& substituted) {
  std::u16string wide = platform::utf8_to_utf16(line);
  std::string sjis = platform::utf16_to_cp932(wide);
  auto before = static_cast<std::size_t>(std::count(wide.begin(), wide.end(), u'?'));
  auto after = static_cast<std::size_t>(std::count(sjis.begin(), sjis.end(), '?'));
  substituted += after - before;
  return cut_sjis(std::move(sjis), limits::line_bytes);
}

// The file's lines as the device reads them: LF ends a line, CR is dropped,
// a NUL ends the line's text. Shift-JIS lines are cut at 255 bytes here; UTF-8
// lines once they are Shift-JIS.
std::vector<std::string> split_lines(std::string_view bytes, bool cut) {
  std::vector<std::string> lines;
  std::string line;
  bool ended = false;
  for (char b : bytes) {
    if (b == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      ended = false;
    } else if (b == '\r') {
    } else if (b == '\0') {
      ended = true;
    } else if (!ended && (!cut || line.size() < limits::line_bytes)) {
      line.push_back(b);
    }
  }
  if (!bytes.empty() && bytes.back() != '\n') lines.push_back(std::move(line));  // no line end at the last line
  return lines;
}

}  // namespace

ProgramText decode_program(std::string_view bytes, std::optional<ProgramEncoding> forced) {
  ProgramText text;
  bool marked = bytes.starts_with(utf8_mark);
  ProgramEncoding encoding = forced ? *forced
                             : (marked || platform::is_utf8_text(bytes)) ? ProgramEncoding::utf8
                                                                         : ProgramEncoding::cp932;
  if (marked && encoding == ProgramEncoding::utf8) bytes.remove_prefix(utf8_mark.size());
  text.form.encoding = encoding;

  std::size_t first_end = bytes.find('\n');
  if (first_end != std::string_view::npos) text.form.crlf = first_end > 0 && bytes[first_end - 1] == '\r';
  if (bytes.starts_with("#!")) {
    text.form.script_line = bytes.substr(0, first_end);
    if (text.form.script_line.ends_with('\r')) text.form.script_line.pop_back();
    bytes.remove_prefix(first_end == std::string_view::npos ? bytes.size() : first_end + 1);
  }

  text.lines = split_lines(bytes, encoding == ProgramEncoding::cp932);
  if (encoding == ProgramEncoding::utf8)
    for (std::string& line : text.lines) line = utf8_line_to_sjis(line, text.substituted);
  return text;
}

std::string encode_program(const std::vector<std::string>& lines, const FileForm& form) {
  std::string_view end = form.ends_with_crlf() ? "\r\n" : "\n";
  std::string out;
  if (!form.script_line.empty()) (out += form.script_line) += end;
  for (const std::string& line : lines) {
    out += form.encoding == ProgramEncoding::utf8 ? platform::cp932_to_utf8(line) : line;
    out += end;
  }
  return out;
}

}  // namespace statements
