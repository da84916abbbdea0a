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

// The machine's value stack (the same as state.values).
extern ValueStack& value_stack;

// The error of a value stack that is full or holds the wrong type.
[[noreturn]] void raise_stack_full();
[[noreturn]] void raise_type_mismatch();

void clear_value();
inline void put_number(double x) {
  // An expression nested deeper than the stack is reported, not overrun.
  if (value_stack.top >= limits::value_stack_entries) raise_stack_full();
  ValueEntry& e = value_stack.entries[value_stack.top++];
  e.type = number_type;
  e.number = x;
}
// Pushes a copy of text.
void put_string(std::string_view text);
// Pushes text, taking it over.
void put_string_owned(std::string&& text);
// Pops a number; anything else raises "型が不正です".
inline double get_number() {
  std::size_t top = value_stack.top;
  if (top == 0 || value_stack.entries[top - 1].type != number_type) raise_type_mismatch();
  ValueEntry& e = value_stack.entries[--value_stack.top];
  e.type = no_value;
  return e.number;
}
// Pops a string and hands it over; anything else raises "型が不正です".
std::string get_string();
// The string on top, left there; anything else raises "型が不正です".
const std::string& top_string();
// Pops the top entry.
void drop_value();
// Pops two strings (right, then left) and pushes left + right, in the left
// entry's storage; the same errors in the same order as two get_string.
void concatenate_strings();
// Pops two strings (right, then left) and gives strcmp(left, right).
int compare_strings();
// Type of the top entry, 0 when empty.
inline int value_type() {
  return value_stack.top == 0 ? no_value : value_stack.entries[value_stack.top - 1].type;
}
// Number of entries (for tests and checks).
std::size_t value_count();

// A double truncated toward zero to a signed 32-bit integer. Values outside the
// range saturate; NaN gives 0.
inline std::int32_t to_int32(double x) {
  if (x != x) return 0;
  if (x >= 2147483647.0) return 2147483647;
  if (x <= -2147483648.0) return -2147483647 - 1;
  return static_cast<std::int32_t>(x);
}

}  // namespace machine
