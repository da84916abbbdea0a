// value_stack.h — the value stack every expression leaves its result on.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/limits.h"

namespace machine {

// Type codes of values; 0 means no value.
inline constexpr int no_value = 0;
inline constexpr int number_type = 4;
inline constexpr int string_type = 6;

struct ValueEntry {
  int type = no_value;
  double number = 0;
  std::string text;  // keeps its storage between uses
};

struct ValueStack {
  std::array<ValueEntry, limits::value_stack_entries> entries;
  std::size_t top = 0;
};

void clear_value();
void put_number(double x);
// Pushes a copy of text.
void put_string(std::string_view text);
// Pushes text, taking it over.
void put_string_owned(std::string&& text);
// Pops a number; anything else raises "型が不正です".
double get_number();
// Pops a string and hands it over; anything else raises "型が不正です".
std::string get_string();
// Type of the top entry, 0 when empty.
int value_type();
// Number of entries (for tests and checks).
std::size_t value_count();

// A double truncated toward zero to a signed 32-bit integer. Values outside the
// range saturate; NaN gives 0.
std::int32_t to_int32(double x);

}  // namespace machine
