// text_functions.h — what the string functions compute, apart from reading
// their arguments: shared by their handlers and by compiled statements.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace machine {

// mid$(s, start, length): length bytes from byte start (1 = the first).
std::string_view mid_text(std::string_view s, std::int64_t start, std::int64_t length);
// left$(s, n) and right$(s, n).
std::string_view left_text(std::string_view s, std::int64_t n);
std::string_view right_text(std::string_view s, std::int64_t n);
// instr(s, t, start): the position of t in s from byte start, or 0.
double instr_position(std::string_view s, std::string_view t, std::int64_t start);
// chr$(n): the low byte of int(n); a zero byte gives "".
std::string_view chr_text(double n, char& byte);
// asc(s): the first byte, signed; 0 for "".
double asc_value(std::string_view s);

}  // namespace machine
