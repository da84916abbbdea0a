// expressions.cpp — expressions in postfix target code, one procedure per
// precedence level:  or < and < comparisons < + - < * / mod < ^ < primary.
// The operands' code comes first; each operator then takes its operands back
// from the target's value stack.
#include "machine/lexer.h"
#include "machine/value_stack.h"
#include "machine/variables.h"
#include "translator/code_writers.h"
#include "translator/translation.h"

using machine::lexer;

namespace translator {
namespace {

void level_or();

// An operator is known by the first character of the token text, as the
// interpreter knows print 1 "+" 2 for a sum.
bool at_operator(char c) { return lexer.first() == c; }

// A sign before an operand; a string literal is never one.
bool at_sign(char c) { return lexer.token_kind != machine::TK_STRING && lexer.first() == c; }

void negate_if(bool minus) {
  if (minus) output_print("  get_number neg put_number\n");
}

// [+|-] ( expr ) | number | "string" | function | variable
void primary() {
  char sign = 0;
  if (at_sign('+') || at_sign('-')) {
    sign = lexer.first();
    pass2_next();
  }
  bool minus = sign == '-';
  switch (lexer.token_kind) {
    case machine::TK_NUMBER:
      output_print("  %d, put_number\n", {machine::to_int32(lexer.token_value)});
      negate_if(minus);
      pass2_next();
      break;
    case machine::TK_STRING:
      output_print("  \"%s\", put_string\n", {lexer.text()});
      if (sign) report_diagnostic(base::Message::note_sign_on_string);
      pass2_next();
      break;
    case machine::TK_FUNCTION:
      function_translators[lexer.token_index].handler();
      negate_if(minus);
      break;
    case machine::TK_NAME:
      translate_value();
      negate_if(minus);
      break;
    default:
      if (at_punct('(')) {
        pass2_next();
        level_or();
        pass2_expect(")");
        negate_if(minus);
      }
      // Anything else cannot start an operand: it is left for the caller.
  }
}

// a ^ b — the target has no power: both operands stay on its stack.
void level_power() {
  primary();
  while (at_operator('^')) {
    pass2_next();
    primary();
    report_diagnostic(base::Message::note_power);
  }
}

void pop_right_left() {
  output_print("  get_number __tmp5!=\n");
  output_print("  get_number __tmp4!=\n");
}

// The divisor is tested at run time; the guard jumps over the operation.
void guarded_division(const char* guard, const char* operation, const char* label) {
  pop_right_left();
  std::int32_t n = take_label();
  output_print(guard, {base::message_text(base::Message::division_by_zero), n});
  output_print(operation);
  output_print(label, {n});
}

// * / mod
void level_product() {
  level_power();
  for (;;) {
    if (at_operator('*')) {
      pass2_next();
      level_power();
      pop_right_left();
      output_print("  __tmp4!, __tmp5!, * put_number\n");
    } else if (at_operator('/')) {
      pass2_next();
      level_power();
      guarded_division("  if __tmp5!=0 then \"%s\", prints nl goto __eval_div1_%d\n",
                       "  __tmp4!, __tmp5!, / put_number\n", "__eval_div1_%d:\n");
    } else if (lexer.is("mod")) {
      pass2_next();
      level_power();
      guarded_division("  if __tmp5!=0 then \"%s\", prints nl goto __eval_mod1_%d\n",
                       "  __tmp4!, __tmp5!, mod put_number\n", "__eval_mod1_%d:\n");
    } else {
      return;
    }
  }
}

// + concatenates or adds, as the right operand's type decides at run time.
void write_sum() {
  std::int32_t n = take_label();
  output_print("  value_type __tmp4!=\n");
  output_print("  if __tmp4!<>STRING goto __eval_add1_%d\n", {n});
  output_print("  get_string __tmp5!=\n");
  output_print("  get_string __tmp4!=\n");
  output_print("  __tmp4!, __sbuf2, strcpy\n");
  output_print("  __tmp5!, __sbuf2, strcat\n");
  output_print("  __tmp4!, free\n");
  output_print("  __tmp5!, free\n");
  output_print("  __sbuf2, put_string\n");
  output_print("  goto __eval_add2_%d\n", {n});
  output_print("__eval_add1_%d:\n", {n});
  pop_right_left();
  output_print("  __tmp4!, __tmp5!, + put_number\n");
  output_print("__eval_add2_%d:\n", {n});
}

// + -
void level_sum() {
  level_product();
  for (;;) {
    if (at_operator('+')) {
      pass2_next();
      level_product();
      write_sum();
    } else if (at_operator('-')) {
      pass2_next();
      level_product();
      pop_right_left();
      output_print("  __tmp4!, __tmp5!, - put_number\n");
    } else {
      return;
    }
  }
}

struct Comparison {
  const char* op;
  const char* test;
  const char* label;
};

constexpr Comparison comparisons[] = {
    {">=", "  if __tmp4!>=0 then 1, put_number goto__eval_ge1_%d\n", "__eval_ge1_%d:\n"},
    {">", "  if __tmp4!>0 then 1, put_number goto__eval_gt1_%d\n", "__eval_gt1_%d:\n"},
    {"<=", "  if __tmp4!<=0 then 1, put_number goto__eval_le1_%d\n", "__eval_le1_%d:\n"},
    {"<", "  if __tmp4!<0 then 1, put_number goto__eval_lt1_%d\n", "__eval_lt1_%d:\n"},
    {"<>", "  if __tmp4!<>0 then 1, put_number goto__eval_ne1_%d\n", "__eval_ne1_%d:\n"},
    {"=", "  if __tmp4!=0 then 1, put_number goto__eval_eq1_%d\n", "__eval_eq1_%d:\n"},
};

const Comparison* comparison_at_token() {
  for (const Comparison& c : comparisons)
    if (lexer.is(c.op)) return &c;
  return nullptr;
}

// Leaves left - right (numbers) or strcmp(left, right) (strings) on the stack.
void write_difference() {
  std::int32_t n = take_label();
  output_print("  value_type __tmp4!=\n");
  output_print("  if __tmp4!<>STRING goto __eval_cmp1_%d\n", {n});
  output_print("  get_string __tmp5!=\n");
  output_print("  get_string __tmp4!=\n");
  output_print("  __tmp4!, __tmp5!, strcmp put_number\n");
  output_print("  __tmp4!, free\n");
  output_print("  __tmp5!, free\n");
  output_print("  goto __eval_cmp2_%d\n", {n});
  output_print("__eval_cmp1_%d:\n", {n});
  pop_right_left();
  output_print("  __tmp4!, __tmp5!, - put_number\n");
  output_print("__eval_cmp2_%d:\n", {n});
}

// Turns the difference into 1 or 0.
void write_test(const Comparison& c) {
  std::int32_t m = take_label();
  output_print("  get_number __tmp4!=\n");
  output_print(c.test, {m});
  output_print("  0, put_number\n");
  output_print(c.label, {m});
}

// >= > <= < <> =
void level_compare() {
  level_sum();
  while (const Comparison* c = comparison_at_token()) {
    pass2_next();
    level_sum();
    write_difference();
    write_test(*c);
  }
}

void level_and() {
  level_compare();
  while (lexer.is("and")) {
    pass2_next();
    level_compare();
    pop_right_left();
    output_print("  __tmp4!, __tmp5!, and put_number\n");
  }
}

void level_or() {
  level_and();
  while (lexer.is("or")) {
    pass2_next();
    level_and();
    pop_right_left();
    output_print("  __tmp4!, __tmp5!, or put_number\n");
  }
}

// The variable of the current name (it must exist, pass 1 made it); steps past the name.
const machine::Variable& take_variable() {
  const machine::Variable& v = machine::get_variable(lexer.text(), true);
  pass2_next();
  return v;
}

// ( s1 , s2 , ... ) — leaves the row-major element index in __index!.
// Value and address code differ only in the blanks before the index lines.
void write_index(const machine::Variable& v, const char* multiply, const char* add) {
  pass2_expect("(");
  translate_expression();
  output_print(" get_number __index!=\n");
  for (int i = 1; i < v.dimension_count; ++i) {
    pass2_expect(",");
    translate_expression();
    output_print(multiply, {v.extents[i]});
    output_print(add);
  }
  pass2_expect(")");
}

}  // namespace

std::string target_name(const std::string& name) {
  std::string s = name;
  if (machine::type_of_name(s) == machine::string_type) s.back() = '_';
  return s;
}

void translate_expression() { level_or(); }

void translate_value() {
  const machine::Variable& v = take_variable();
  bool text = machine::type_of_name(v.name) == machine::string_type;
  std::string name = target_name(v.name);
  if (v.dimension_count == 0) {
    output_print(text ? " %s, put_string\n" : " %s!, put_number\n", {name});
    return;
  }
  write_index(v, "  __index!, %d, * __index!=\n", "  get_number __index!, + __index!=\n");
  output_print(text ? "  __index!, 512, * %s, + put_string\n" : "  %s!(__index!), put_number\n", {name});
}

void translate_address() {
  const machine::Variable& v = take_variable();
  bool text = machine::type_of_name(v.name) == machine::string_type;
  std::string name = target_name(v.name);
  if (v.dimension_count == 0) {
    output_print(" %s, put_number\n", {name});
    return;
  }
  write_index(v, " __index!, %d, * __index!=\n", " get_number __index!, + __index!=\n");
  if (text)
    output_print("  __index!, 512, * %s, + put_number\n", {name});
  else
    output_print("  __index!, %d, * %s, + put_number\n", {4, name});
}

}  // namespace translator
