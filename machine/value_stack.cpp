// value_stack.cpp — a fixed array of 64 entries; strings reuse their entry's storage.
#include "machine/value_stack.h"

#include <cmath>

#include "base/limits.h"
#include "machine/errors.h"
#include "machine/machine.h"

namespace machine {
namespace {

auto& entries = state.values.entries;
std::size_t& top = state.values.top;

ValueEntry& push(int type) {
  // An expression nested deeper than the stack is reported, not overrun.
  if (top >= limits::value_stack_entries) raise_error(base::Message::bad_expression);
  ValueEntry& e = entries[top++];
  e.type = type;
  return e;
}

}  // namespace

void clear_value() {
  while (top > 0) {
    ValueEntry& e = entries[--top];
    e.type = no_value;
    e.text.clear();
  }
}

void put_number(double x) { push(number_type).number = x; }

void put_string(std::string_view text) { push(string_type).text.assign(text); }

void put_string_owned(std::string&& text) { push(string_type).text = std::move(text); }

double get_number() {
  if (top == 0 || entries[top - 1].type != number_type) raise_error(base::Message::type_mismatch);
  ValueEntry& e = entries[--top];
  e.type = no_value;
  return e.number;
}

std::string get_string() {
  if (top == 0 || entries[top - 1].type != string_type) raise_error(base::Message::type_mismatch);
  ValueEntry& e = entries[--top];
  e.type = no_value;
  std::string s = std::move(e.text);
  e.text.clear();
  return s;
}

int value_type() { return top == 0 ? no_value : entries[top - 1].type; }

std::size_t value_count() { return top; }

std::int32_t to_int32(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return 2147483647;
  if (x <= -2147483648.0) return -2147483647 - 1;
  return static_cast<std::int32_t>(x);
}

}  // namespace machine
