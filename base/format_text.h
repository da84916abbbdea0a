// format_text.h — the one printf-like formatter of the system.
// %d %D %x %X %g %s %c %%; a line feed of the format is written as CR LF.
// The result is bounded like the device's 512-byte buffer: at most 511 bytes.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace base {

// One argument: a 32-bit integer (%d %x %c), a double (%g) or a text (%s).
struct FormatArg {
  enum class Kind { integer, number, text } kind;
  std::int32_t integer = 0;
  double number = 0;
  std::string_view text;

  FormatArg(std::int32_t i) : kind(Kind::integer), integer(i) {}
  FormatArg(double d) : kind(Kind::number), number(d) {}
  FormatArg(std::string_view s) : kind(Kind::text), text(s) {}
  FormatArg(const char* s) : kind(Kind::text), text(s) {}
  FormatArg(const std::string& s) : kind(Kind::text), text(s) {}
};

using FormatArgs = std::initializer_list<FormatArg>;

// Formats into a fresh string of at most 511 bytes. The text ends at the first
// NUL that a %c or %s would put into it, as a C buffer would.
std::string format_text(std::string_view format, FormatArgs args = {});

// "%g" of one number, as format_text writes it.
std::string format_number(double value);

}  // namespace base
