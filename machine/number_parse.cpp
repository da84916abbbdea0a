// number_parse.cpp — the longest decimal prefix, or a radix literal.
#include "machine/number_parse.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/limits.h"

namespace machine {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix that reads as [+-]digits[.digits][e[+-]digits]
// with at least one digit in the mantissa; 0 when there is none.
std::size_t decimal_prefix(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < t.size() && is_digit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && is_digit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    if (j < t.size() && is_digit(t[j])) {
      while (j < t.size() && is_digit(t[j])) ++j;
      i = j;
    }
  }
  return i;
}

// "%x" / "%o": blanks, a sign, for hexadecimal an optional 0x, then digits;
// the 32-bit pattern is taken as signed.
double radix_value(std::string_view t, unsigned base) {
  std::size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || (t[i] >= '\t' && t[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  if (base == 16 && i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) i += 2;
  std::uint32_t v = 0;
  for (; i < t.size(); ++i) {
    unsigned d;
    char c = t[i];
    if (is_digit(c)) d = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
    else break;
    if (d >= base) break;
    v = v * base + d;
  }
  if (negative) v = 0u - v;
  return static_cast<double>(static_cast<std::int32_t>(v));
}

}  // namespace

double parse_number(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  text = text.substr(0, limits::number_text_chars);
  if (text.empty()) return 0;
  char c = text[0];
  if (is_digit(c) || c == '.' || c == '+' || c == '-') {
    std::size_t n = decimal_prefix(text);
    if (n == 0) return 0;
    return std::strtod(std::string(text.substr(0, n)).c_str(), nullptr);
  }
  if (c == '&') {
    if (text.size() >= 2 && (text[1] == 'h' || text[1] == 'H')) return radix_value(text.substr(2), 16);
    return radix_value(text.substr(1), 8);
  }
  return 0;
}

}  // namespace machine
