// number_parse.h — reading a number from text, as input, val and files do.
#pragma once
#include <string_view>

namespace machine {

// Decimal ("12abc" 12, "-3.5", "1e3"), or &h hexadecimal / & octal; anything
// else, leading blanks included, is 0. Never reads 0x.., inf or nan.
double parse_number(std::string_view text);

}  // namespace machine
