// builtin_functions.cpp — the numeric and string functions of the function table.
// Each handler steps past its name, parses its own argument list, pops the
// arguments last first and pushes exactly one result.
#include "statements/builtin_functions.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "base/format_text.h"
#include "base/limits.h"
#include "device/line_input.h"
#include "machine/errors.h"
#include "machine/evaluator.h"
#include "machine/lexer.h"
#include "machine/number_parse.h"
#include "machine/random.h"
#include "machine/text_functions.h"
#include "machine/value_stack.h"
#include "platform/clock.h"

using machine::expect_token;
using machine::lexer;

namespace statements {
namespace {

// name ( expr
void open_arguments() {
  machine::next_token();
  expect_token("(");
  machine::evaluate();
}

// , expr
void next_argument() {
  expect_token(",");
  machine::evaluate();
}

// [, expr] — true when the optional argument was there
bool optional_argument() {
  if (!lexer.is(",")) return false;
  machine::next_token();
  machine::evaluate();
  return true;
}

// name ( expr ) with a number argument
double one_number() {
  open_arguments();
  expect_token(")");
  return machine::get_number();
}

// name ( expr ) with a string argument
std::string one_string() {
  open_arguments();
  expect_token(")");
  return machine::get_string();
}

}  // namespace

// int(x): truncation toward zero, saturating at the 32-bit bounds
void int_function() { machine::put_number(machine::to_int32(one_number())); }

// abs(x)
void abs_function() {
  double x = one_number();
  machine::put_number(x < 0 ? -x : x);
}

// sqr(x)
void sqr_function() { machine::put_number(std::sqrt(one_number())); }

// exp(x)
void exp_function() { machine::put_number(std::exp(one_number())); }

// log(x), x not 0
void log_function() {
  double x = one_number();
  if (x == 0) machine::raise_error(base::Message::log_zero);
  machine::put_number(std::log(x));
}

// sin(x)
void sin_function() { machine::put_number(std::sin(one_number())); }

// cos(x)
void cos_function() { machine::put_number(std::cos(one_number())); }

// tan(x)
void tan_function() { machine::put_number(std::tan(one_number())); }

// atn(x)
void atn_function() { machine::put_number(std::atan(one_number())); }

// rnd(x): 0 to x inclusive
void rnd_function() {
  machine::put_number(machine::random_up_to(one_number()));
}

// chr$(n)
void chr_function() {
  char byte;
  machine::put_string(machine::chr_text(one_number(), byte));
}

// asc(s$)
void asc_function() { machine::put_number(machine::asc_value(one_string())); }

// mid$(s$, start [, length])
void mid_function() {
  open_arguments();
  next_argument();
  bool has_length = optional_argument();
  expect_token(")");
  std::int64_t length = has_length ? machine::to_int32(machine::get_number()) : static_cast<std::int64_t>(limits::string_bytes);
  std::int64_t start = machine::to_int32(machine::get_number());
  std::string s = machine::get_string();
  machine::put_string(machine::mid_text(s, start, length));
}

// left$(s$, n)
void left_function() {
  open_arguments();
  next_argument();
  expect_token(")");
  std::int64_t n = machine::to_int32(machine::get_number());
  std::string s = machine::get_string();
  machine::put_string(machine::left_text(s, n));
}

// right$(s$, n)
void right_function() {
  open_arguments();
  next_argument();
  expect_token(")");
  std::int64_t n = machine::to_int32(machine::get_number());
  std::string s = machine::get_string();
  machine::put_string(machine::right_text(s, n));
}

// str$(x): int(x) in decimal
void str_function() { machine::put_string_owned(base::format_text("%d", {machine::to_int32(one_number())})); }

// val(s$)
void val_function() { machine::put_number(machine::parse_number(one_string())); }

// len(s$)
void len_function() { machine::put_number(static_cast<double>(one_string().size())); }

// instr(s$, t$ [, start])
void instr_function() {
  open_arguments();
  next_argument();
  bool has_start = optional_argument();
  expect_token(")");
  std::int64_t start = has_start ? static_cast<std::int64_t>(machine::to_int32(machine::get_number())) : 1;
  std::string t = machine::get_string();
  std::string s = machine::get_string();
  machine::put_number(machine::instr_position(s, t, start));
}

// inkey$: the key typed during a 50 ms wait, or ""
void inkey_function() {
  machine::next_token();
  auto byte = static_cast<char>(device::take_last_key() & 0xFF);
  machine::put_string(byte == 0 ? std::string() : std::string(1, byte));
}

// time$: hh:mm:ss
void time_function() {
  machine::next_token();
  machine::put_string_owned(platform::local_time_text());
}

// date$: yyyy/mm/dd
void date_function() {
  machine::next_token();
  machine::put_string_owned(platform::local_date_text());
}

}  // namespace statements
