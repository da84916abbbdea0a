// evaluator.cpp — recursive descent, one procedure per precedence level:
//   or  <  and  <  comparisons  <  + -  <  * / mod  <  ^  <  sign  <  operand
#include "machine/evaluator.h"

#include <cmath>
#include <cstring>

#include "machine/errors.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/token_cache.h"
#include "machine/value_stack.h"
#include "machine/variables.h"

using base::Message;

namespace machine {
namespace {

void level_or();

// operand: number | string | ( expression ) | function | variable
void operand() {
  char sign = 0;
  if (lexer.token_kind != TK_STRING && (lexer.op == OP_PLUS || lexer.op == OP_MINUS)) {
    sign = lexer.first();
    next_token();
  }
  bool pushed = true;
  switch (lexer.token_kind) {
    case TK_PUNCT:
      if (lexer.op == OP_LPAREN) {
        next_token();
        level_or();
        expect_token(")");
      } else {
        pushed = false;
      }
      break;
    case TK_NUMBER:
      put_number(lexer.token_value);
      next_token();
      break;
    case TK_STRING:
      put_string(lexer.text());
      next_token();
      break;
    case TK_FUNCTION:
      function_table[lexer.token_index].handler();
      break;
    case TK_NAME: {
      ValueCell cell = variable_slot(true);
      if (cell.type == string_type)
        put_string(*cell.text);
      else
        put_number(*cell.number);
      break;
    }
    default:
      pushed = false;
  }
  if (!sign) return;
  // A sign with nothing after it finds no number to take.
  if (!pushed || value_type() != number_type) raise_error(Message::type_mismatch);
  if (sign == '-') put_number(-get_number());
}

// a ^ b ^ c, left to right
void level_power() {
  operand();
  if (value_type() == string_type) return;
  while (lexer.op == OP_CARET) {
    next_token();
    operand();
    double right = get_number();
    double left = get_number();
    put_number(std::pow(left, right));
  }
}

// * / mod
void level_product() {
  level_power();
  if (value_type() == string_type) return;
  for (;;) {
    char op;
    if (lexer.op == OP_STAR) op = '*';
    else if (lexer.op == OP_SLASH) op = '/';
    else if (lexer.op == OP_MOD) op = '%';
    else return;
    next_token();
    level_power();
    double right = get_number();
    double left = get_number();
    if (op == '*') {
      put_number(left * right);
    } else if (op == '/') {
      if (right == 0) raise_error(Message::division_by_zero);
      put_number(left / right);
    } else {
      std::int32_t r = to_int32(right);
      if (right == 0 || r == 0) raise_error(Message::division_by_zero);
      std::int32_t l = to_int32(left);
      // The one quotient that does not fit: -2147483648 mod -1 is 0.
      put_number(r == -1 ? 0.0 : static_cast<double>(l % r));
    }
  }
}

// + - (numbers), + (strings)
void level_sum() {
  level_product();
  if (value_type() == string_type) {
    while (lexer.op == OP_PLUS) {
      next_token();
      level_product();
      concatenate_strings();
    }
    return;
  }
  for (;;) {
    bool plus = lexer.op == OP_PLUS;
    if (!plus && lexer.op != OP_MINUS) return;
    next_token();
    level_product();
    double right = get_number();
    double left = get_number();
    put_number(plus ? left + right : left - right);
  }
}

void level_compare() {
  level_sum();
  for (;;) {
    int op = comparison_code(lexer.op);
    if (op < 0) return;
    next_token();
    level_sum();
    double d;
    if (value_type() == string_type) {
      d = compare_strings();
    } else {
      double right = get_number();
      double left = get_number();
      d = left - right;
    }
    put_number(compare_difference(op, d) ? 1 : 0);
  }
}

void level_and() {
  level_compare();
  while (lexer.op == OP_AND) {
    next_token();
    level_compare();
    std::int32_t right = to_int32(get_number());
    std::int32_t left = to_int32(get_number());
    put_number(left & right);
  }
}

void level_or() {
  level_and();
  while (lexer.op == OP_OR) {
    next_token();
    level_and();
    std::int32_t right = to_int32(get_number());
    std::int32_t left = to_int32(get_number());
    put_number(left | right);
  }
}

}  // namespace

void evaluate() { level_or(); }

double evaluate_number() {
  clear_value();
  evaluate();
  return get_number();
}

int evaluate_integer() { return to_int32(evaluate_number()); }

int comparison_code(int op) {
  switch (op) {
    case OP_GE: return 0;
    case OP_GT: return 1;
    case OP_LE: return 2;
    case OP_LT: return 3;
    case OP_NE: return 4;
    case OP_EQ: return 5;
    default: return -1;
  }
}

}  // namespace machine
