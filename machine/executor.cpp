// executor.cpp — runs lines statement by statement through the statement table.
#include "device/line_input.h"
#include "machine/errors.h"
#include "machine/executor.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/program_store.h"
#include "machine/steps.h"
#include "machine/value_stack.h"
#include "machine/variables.h"

namespace machine {

int execute_line(LinePtr line) {
  clear_value();
  execution.current_line = std::move(line);
  start_reading(execution.current_line->text.c_str());
  return execute_from(execution.current_line, lexer.cursor);
}

void jump_to(LinePtr line, const char* position) {
  execution.current_line = std::move(line);
  lexer.cursor = position;
  next_token();
}

void jump_to_line(const LinePtr& line, const char* position) {
  if (execution.current_line.get() != line.get()) execution.current_line = line;
  lexer.cursor = position;
  next_token();
}

int execute_from(LinePtr line, const char* position) {
  execution.current_line = std::move(line);
  if (!execution.current_line) {
    execution.program_running = false;
    raise_error(Message::cannot_execute);
  }
  lexer.cursor = position;
  // Set when the statement at the current token must be run here, not as a compiled step.
  bool interpret = false;
  for (;;) {
    if (device::break_flag.load(std::memory_order_relaxed)) {
      device::break_flag = 0;
      if (execution.program_running) {
        execution.cont_line = execution.current_line;
        execution.cont_cursor = lexer.cursor;
        execution.program_running = false;
      }
      raise_error(Message::break_);
    }
    if (!interpret && !reference_mode && (lexer.token_kind == TK_STATEMENT || lexer.token_kind == TK_NAME) &&
        run_steps(interpret))
      continue;
    interpret = false;
    switch (lexer.token_kind) {
      case TK_STATEMENT: {
        int row = lexer.token_index;
        next_token();
        int result = statement_table[row].handler();
        if (result != go_on) return result;
        break;
      }
      case TK_NAME:
        let_statement();
        break;
      case TK_END: {
        const LinePtr& next = execution.current_line->next;
        if (!next) {
          if (execution.program_running) {
            execution.cont_line.reset();
            execution.cont_cursor = "";
            execution.program_running = false;
          }
          return stop_quietly;
        }
        execution.current_line = LinePtr(next);  // a copy first: next lives in the line it replaces
        start_reading(execution.current_line->text.c_str());
        break;
      }
      case TK_PUNCT:
        if (lexer.first() != ':') raise_error(Message::syntax);
        next_token();
        break;
      case TK_LABEL:
        next_token();
        break;
      default:
        raise_error(Message::syntax);
    }
  }
}

}  // namespace machine
