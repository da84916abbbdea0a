// text_functions.cpp — byte ranges clamped to the string, as the string functions take them.
#include "machine/text_functions.h"

#include "base/limits.h"
#include "machine/value_stack.h"

namespace machine {
namespace {

// The bytes of s at positions [from, to), both clamped to the string.
std::string_view byte_range(std::string_view s, std::int64_t from, std::int64_t to) {
  const auto size = static_cast<std::int64_t>(s.size());
  if (from < 0) from = 0;
  if (to > size) to = size;
  if (from >= to) return {};
  return s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

}  // namespace

std::string_view mid_text(std::string_view s, std::int64_t start, std::int64_t length) {
  // A start before the first byte reads from the first byte.
  if (start < 1) start = 1;
  std::int64_t p = start - 1;
  return byte_range(s, p, p + length);
}

std::string_view left_text(std::string_view s, std::int64_t n) { return byte_range(s, 0, n); }

std::string_view right_text(std::string_view s, std::int64_t n) {
  if (n <= 0) n = 0;
  const auto size = static_cast<std::int64_t>(s.size());
  return byte_range(s, size - n, size);
}

double instr_position(std::string_view s, std::string_view t, std::int64_t start) {
  std::int64_t b = start - 1;
  if (b < 0 || b >= static_cast<std::int64_t>(s.size())) return 0;
  std::size_t at = s.find(t, static_cast<std::size_t>(b));
  return at == std::string_view::npos ? 0 : static_cast<double>(at + 1);
}

std::string_view chr_text(double n, char& byte) {
  byte = static_cast<char>(static_cast<std::uint32_t>(to_int32(n)) & 0xFF);
  return byte == 0 ? std::string_view() : std::string_view(&byte, 1);
}

double asc_value(std::string_view s) { return s.empty() ? 0 : static_cast<signed char>(s[0]); }

}  // namespace machine
