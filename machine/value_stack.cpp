// value_stack.cpp — a fixed array of 64 entries; strings reuse their entry's storage.
#include "machine/value_stack.h"

#include <cmath>
#include <cstring>

#include "base/limits.h"
#include "machine/errors.h"
#include "machine/machine.h"

namespace machine {

ValueStack& value_stack = state.values;

void raise_stack_full() { raise_error(base::Message::bad_expression); }
void raise_type_mismatch() { raise_error(base::Message::type_mismatch); }

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


void put_string(std::string_view text) { push(string_type).text.assign(text); }

void put_string_owned(std::string&& text) { push(string_type).text = std::move(text); }


std::string get_string() {
  if (top == 0 || entries[top - 1].type != string_type) raise_error(base::Message::type_mismatch);
  ValueEntry& e = entries[--top];
  e.type = no_value;
  std::string s = std::move(e.text);
  e.text.clear();
  return s;
}


const std::string& top_string() {
  if (top == 0 || entries[top - 1].type != string_type) raise_error(base::Message::type_mismatch);
  return entries[top - 1].text;
}

void drop_value() {
  ValueEntry& e = entries[--top];
  e.type = no_value;
  e.text.clear();
}

namespace {
// Pops the top entry, which holds a string.
void drop_string() {
  ValueEntry& e = entries[--top];
  e.type = no_value;
  e.text.clear();
}
// Checks right and left as two get_string calls would, popping as they would.
void check_two_strings() {
  if (top == 0 || entries[top - 1].type != string_type) raise_error(base::Message::type_mismatch);
  if (top < 2 || entries[top - 2].type != string_type) {
    drop_string();
    raise_error(base::Message::type_mismatch);
  }
}
}  // namespace

void concatenate_strings() {
  check_two_strings();
  ValueEntry& right = entries[top - 1];
  ValueEntry& left = entries[top - 2];
  if (left.text.size() + right.text.size() > limits::string_bytes) {
    drop_string();
    drop_string();
    raise_error(base::Message::string_too_long);
  }
  left.text += right.text;
  drop_string();
}

int compare_strings() {
  check_two_strings();
  int d = std::strcmp(entries[top - 2].text.c_str(), entries[top - 1].text.c_str());
  drop_string();
  drop_string();
  return d;
}

std::size_t value_count() { return top; }


}  // namespace machine
