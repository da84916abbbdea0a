// control_flow.cpp — jumps move the execution position (line and cursor) and
// read the first token there; loops and calls keep where to come back to.
#include "machine/control_flow.h"

#include <array>

#include "machine/errors.h"
#include "machine/evaluator.h"
#include "machine/executor.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/token_cache.h"
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

// The line of the label token that is current, or the label error; the line
// found is remembered in the token's cache entry until the program changes.
const LinePtr& label_target() {
  CachedToken* entry = lexer.entry;
  if (entry && entry->label_generation == program.generation) return *entry->label;
  const LinePtr* target = find_label_slot(lexer.token_index, lexer.text());
  if (!target) raise_error(Message::label_not_found);
  if (entry) {
    entry->label = target;
    entry->label_generation = program.generation;
  }
  return *target;
}

void jump_to_label() {
  const LinePtr& target = label_target();
  jump_to_line(target, target->text.c_str());
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
  const LinePtr& target = label_target();
  GosubEntry& entry = gosub_stack[gosub_top++];
  entry.line = execution.current_line;
  entry.resume = lexer.cursor;
  jump_to_line(target, target->text.c_str());
  return go_on;
}

// return
int return_statement() {
  if (gosub_top == 0) raise_error(Message::return_without_gosub);
  GosubEntry& entry = gosub_stack[--gosub_top];
  const char* resume = entry.resume;
  entry.resume = "";
  LinePtr line = std::move(entry.line);  // the entry is left empty, as a fresh one
  jump_to(std::move(line), resume);
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
  if (lexer.op != OP_TO) raise_error(Message::syntax);
  next_token();
  clear_value();
  evaluate();
  entry.limit = get_number();
  if (lexer.op == OP_STEP) {
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
// Works on the top entry in place; an entry whose loop ends, or a name that is
// not its variable, leaves the stack.
int next_statement() {
  if (for_top == 0) raise_error(Message::next_without_for);
  ForEntry& entry = for_stack[for_top - 1];
  if (lexer.token_kind == TK_NAME) {
    if (find_token_variable() != entry.variable.get()) {
      for_stack[--for_top] = ForEntry{};
      raise_error(Message::next_without_for);
    }
    next_token();
  }
  Variable& v = *entry.variable;
  v.number += entry.step;
  // The loop goes on only while (variable - limit) * step <= 0; a test that
  // is not a number (infinity minus infinity, a NaN step) ends it.
  if (!((v.number - entry.limit) * entry.step <= 0)) {  // the loop has ended
    for_stack[--for_top] = ForEntry{};
    return go_on;
  }
  jump_to_line(entry.line, entry.resume);
  return go_on;
}

// if expr then @label|statements [else @label|statements]
int if_statement() {
  evaluate();
  std::int32_t condition = to_int32(get_number());
  if (condition != 0) {
    if (lexer.op != OP_THEN) raise_error(Message::syntax);
    next_token();
    if (lexer.token_kind == TK_LABEL) jump_to_label();
    return go_on;
  }
  for (;;) {
    if (lexer.token_kind == TK_END) {
      if (lexer.op != OP_ELSE) return go_on;  // end of the line
      next_token();
      if (lexer.token_kind == TK_LABEL) jump_to_label();
      return go_on;
    }
    next_token();
  }
}

}  // namespace machine
