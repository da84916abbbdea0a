// control_flow.cpp — jumps move the execution position (line and cursor) and
// read the first token there; loops and calls keep where to come back to.
#include "machine/control_flow.h"

#include <array>

#include "machine/errors.h"
#include "machine/evaluator.h"
#include "machine/executor.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/machine.h"
#include "machine/program_store.h"
#include "machine/value_stack.h"
#include "machine/variables.h"

using base::Message;

namespace machine {
namespace {

auto& for_stack = state.control.for_stack;
std::size_t& for_top = state.control.for_top;
auto& gosub_stack = state.control.gosub_stack;
std::size_t& gosub_top = state.control.gosub_top;

// The line of the label token that is current, or the label error.
LinePtr label_target() {
  LinePtr target = find_label(lexer.token_index, lexer.text());
  if (!target) raise_error(Message::label_not_found);
  return target;
}

void jump_to_label() {
  LinePtr target = label_target();
  const char* text = target->text.c_str();
  jump_to(std::move(target), text);
}

}  // namespace

void empty_for_stack() {
  while (for_top > 0) for_stack[--for_top] = ForEntry{};
}

void empty_gosub_stack() {
  while (gosub_top > 0) gosub_stack[--gosub_top] = GosubEntry{};
}

std::size_t for_depth() { return for_top; }
std::size_t gosub_depth() { return gosub_top; }

// goto @label
int goto_statement() {
  if (lexer.token_kind != TK_LABEL) raise_error(Message::syntax);
  jump_to_label();
  return go_on;
}

// gosub @label
int gosub_statement() {
  if (gosub_top >= limits::gosub_entries) raise_error(Message::gosub_overflow);
  if (lexer.token_kind != TK_LABEL) raise_error(Message::syntax);
  LinePtr target = label_target();
  gosub_stack[gosub_top++] = GosubEntry{execution.current_line, lexer.cursor};
  const char* text = target->text.c_str();
  jump_to(std::move(target), text);
  return go_on;
}

// return
int return_statement() {
  if (gosub_top == 0) raise_error(Message::return_without_gosub);
  GosubEntry entry = std::move(gosub_stack[--gosub_top]);
  gosub_stack[gosub_top] = GosubEntry{};
  jump_to(std::move(entry.line), entry.resume);
  return go_on;
}

// for name = expr to expr [step expr]
int for_statement() {
  if (for_top >= limits::for_entries) raise_error(Message::for_overflow);
  if (lexer.token_kind != TK_NAME) raise_error(Message::syntax);
  ForEntry entry;
  entry.variable = get_variable_shared(lexer.text(), false);
  // The loop counts in a plain number variable; a string or an array cannot count.
  if (entry.variable->type == string_type || entry.variable->dimension_count > 0)
    raise_error(Message::type_mismatch);
  let_statement();
  expect_token("to");
  clear_value();
  evaluate();
  entry.limit = get_number();
  if (lexer.is("step")) {
    next_token();
    clear_value();
    evaluate();
    entry.step = get_number();
  } else {
    entry.step = entry.limit >= entry.variable->number ? 1 : -1;
  }
  entry.line = execution.current_line;
  entry.resume = lexer.token_start;
  for_stack[for_top++] = std::move(entry);
  return go_on;
}

// next [name]
int next_statement() {
  if (for_top == 0) raise_error(Message::next_without_for);
  ForEntry entry = std::move(for_stack[--for_top]);
  for_stack[for_top] = ForEntry{};
  if (lexer.token_kind == TK_NAME) {
    if (find_variable(lexer.text()) != entry.variable.get()) raise_error(Message::next_without_for);
    next_token();
  }
  Variable& v = *entry.variable;
  v.number += entry.step;
  // The loop goes on only while (variable - limit) * step <= 0; a test that
  // is not a number (infinity minus infinity, a NaN step) ends it.
  if (!((v.number - entry.limit) * entry.step <= 0)) return go_on;  // the loop has ended
  LinePtr line = entry.line;
  const char* resume = entry.resume;
  for_stack[for_top++] = std::move(entry);
  jump_to(std::move(line), resume);
  return go_on;
}

// if expr then @label|statements [else @label|statements]
int if_statement() {
  evaluate();
  std::int32_t condition = to_int32(get_number());
  if (condition != 0) {
    expect_token("then");
    if (lexer.token_kind == TK_LABEL) jump_to_label();
    return go_on;
  }
  for (;;) {
    if (lexer.token_kind == TK_END) {
      if (!lexer.is("else")) return go_on;  // end of the line
      next_token();
      if (lexer.token_kind == TK_LABEL) jump_to_label();
      return go_on;
    }
    next_token();
  }
}

}  // namespace machine
