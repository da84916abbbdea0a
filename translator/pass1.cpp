// pass1.cpp — the first pass of make: runs every statement once, straight
// through and without jumps, to learn the variables and the gosub targets,
// then writes the subroutine list and the declarations.
#include <algorithm>
#include <climits>

#include "machine/errors.h"
#include "machine/evaluator.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/memory_budget.h"
#include "machine/program_store.h"
#include "machine/value_stack.h"
#include "machine/variables.h"
#include "translator/translation.h"

using machine::lexer;
using base::Message;

namespace translator {
namespace {

// The kind the translator gives a for loop's variable.
constexpr int counter_type = 9;
// Every string slot of the target is this many bytes.
constexpr std::int64_t string_slot_bytes = 512;

void evaluate_value() {
  machine::clear_value();
  machine::evaluate();
}

void evaluate_string() {
  evaluate_value();
  machine::get_string();
}

// A channel after '#' must be a number literal in 0..9; pass 1 only reports.
void check_channel_literal() {
  if (lexer.token_kind != machine::TK_NUMBER) {
    report_diagnostic(Message::syntax);
    return;
  }
  std::int32_t n = literal_integer();
  if (n < 0 || n >= limits::channel_count) report_diagnostic(Message::out_of_range);
}

// [let] name[(subscripts)] = expression  — the assignment really happens
int let_pass1() {
  if (lexer.token_kind != machine::TK_NAME) return machine::go_on;
  machine::ValueCell cell = machine::variable_slot(false);
  pass1_expect("=");
  evaluate_value();
  // The pop below raises the same error after the diagnostic.
  if (machine::value_type() != cell.type) report_diagnostic(Message::type_mismatch);
  machine::store_value(cell);
  return machine::go_on;
}

// print [#n [, items]] | print items — evaluated, nothing printed
int print_pass1() {
  if (at_punct('#')) {
    pass1_next();
    check_channel_literal();
    pass1_next();
    if (at_statement_end()) return machine::go_on;
    pass1_expect(",");
  }
  while (!at_statement_end()) {
    evaluate_value();
    if (machine::value_type() == machine::string_type)
      machine::get_string();
    else
      machine::get_number();
    machine::expect_empty_stack();
    if (at_punct(',') || at_punct(';')) {
      pass1_next();
    } else if (!at_statement_end()) {
      report_diagnostic(Message::syntax);
      pass1_next();  // the offending token is reported once and skipped
    }
  }
  return machine::go_on;
}

// input [#n,] [prompt] var {,|; [prompt] var} — variables get placeholder values
int input_pass1() {
  bool channel = at_punct('#');
  if (channel) {
    pass1_next();
    std::int32_t n = literal_integer();
    if (n < 0 || n >= limits::channel_count) report_diagnostic(Message::out_of_range);
    pass1_next();
  }
  for (;;) {
    if (!channel && lexer.token_kind == machine::TK_STRING) {
      pass1_next();
    } else if (at_punct(',') || at_punct(';')) {
      pass1_next();
    } else if (lexer.token_kind == machine::TK_NAME) {
      machine::ValueCell cell = machine::variable_slot(false);
      if (cell.type == machine::string_type)
        machine::store_text(*cell.text, "0");
      else
        *cell.number = 0;
    } else {
      return machine::go_on;
    }
  }
}

// goto @label — no jump
int goto_pass1() {
  if (lexer.token_kind != machine::TK_LABEL) report_diagnostic(Message::syntax);
  pass1_next();
  return machine::go_on;
}

// gosub @label — the label joins the subroutine list; no jump
int gosub_pass1() {
  if (lexer.token_kind != machine::TK_LABEL) report_diagnostic(Message::syntax);
  add_subroutine(lexer.text());
  pass1_next();
  return machine::go_on;
}

// return, clear, cls, end, stop — nothing to learn
int nothing_pass1() { return machine::go_on; }

// for name = expr to expr [step expr] — no loop; the variable becomes a counter
int for_pass1() {
  if (lexer.token_kind != machine::TK_NAME) report_diagnostic(Message::syntax);
  // Whatever stands there names the counter; only a name gets its start value.
  machine::get_variable(lexer.text(), false).type = counter_type;
  let_pass1();
  pass1_expect("to");
  evaluate_value();
  if (lexer.is("step")) {
    pass1_next();
    evaluate_value();
  }
  return machine::go_on;
}

// next [name]
int next_pass1() {
  if (lexer.token_kind == machine::TK_NAME) pass1_next();
  return machine::go_on;
}

// if expr then ... [else ...] — only the branch the condition picks is run
int if_pass1() {
  if (machine::to_int32(machine::evaluate_number()) != 0) {
    pass1_expect("then");
    if (lexer.token_kind == machine::TK_LABEL) pass1_next();
    return machine::go_on;
  }
  while (lexer.token_kind != machine::TK_END) pass1_next();
  if (at_else()) {
    pass1_next();
    if (lexer.token_kind == machine::TK_LABEL) pass1_next();
  }
  return machine::go_on;
}

// Element count of a dimension with bound b. A bound below 1 has been
// reported; a negative count would make no array, so it counts as 0.
std::int32_t element_count(std::int32_t b) {
  if (b == INT_MAX) return b;
  return std::max(b + 1, 0);
}

// dim name(b1, ...) [, name(...)]... — the arrays are made, with diagnostics only
int dim_pass1() {
  for (;;) {
    if (lexer.token_kind != machine::TK_NAME) report_diagnostic(Message::syntax);
    std::string name(lexer.text());
    pass1_next();
    pass1_expect("(");
    std::int32_t extents[limits::array_dimensions];
    int count = 0;
    for (;;) {
      // Subscripts past the 16th are reported and read, but not kept.
      if (count == limits::array_dimensions) report_diagnostic(Message::too_many_dimensions);
      std::int32_t b = machine::evaluate_integer();
      if (b < 1) report_diagnostic(Message::out_of_range);
      if (count < limits::array_dimensions) extents[count++] = element_count(b);
      if (at_punct(')')) break;
      pass1_expect(",");
    }
    if (machine::find_variable(name)) report_diagnostic(Message::array_exists);
    machine::shape_array(machine::get_variable(name, false), count, extents);
    pass1_next();
    if (!at_punct(',')) {
      // One more token is stepped over: normally the ':' or the end of the line.
      pass1_next();
      return machine::go_on;
    }
    pass1_next();
  }
}

// open name for input|output as #n — nothing is opened
int open_pass1() {
  evaluate_string();
  pass1_expect("for");
  if (!lexer.is("input") && !lexer.is("output")) report_diagnostic(Message::syntax);
  pass1_next();
  pass1_expect("as");
  pass1_expect("#");
  check_channel_literal();
  pass1_next();
  return machine::go_on;
}

// close [#n]
int close_pass1() {
  if (at_punct('#')) {
    pass1_next();
    pass1_next();
  }
  return machine::go_on;
}

// expr , expr — two numbers
void number_pair() {
  machine::evaluate_number();
  pass1_expect(",");
  machine::evaluate_number();
}

// ( expr , expr )
void point() {
  pass1_expect("(");
  number_pair();
  pass1_expect(")");
}

// [, colour]
void optional_colour() {
  if (!at_punct(',')) return;
  pass1_next();
  evaluate_value();
}

// pset (x, y) [, colour]
int pset_pass1() {
  point();
  optional_colour();
  return machine::go_on;
}

// line [(x1, y1)] - (x2, y2) [, colour]
int line_pass1() {
  if (at_punct('(')) {
    pass1_next();
    number_pair();
    pass1_expect(")");
  }
  pass1_expect("-");
  point();
  optional_colour();
  return machine::go_on;
}

// box|boxf|circle|circlef (x1, y1) - (x2, y2) [, colour]
int box_pass1() {
  point();
  pass1_expect("-");
  point();
  optional_colour();
  return machine::go_on;
}

// locate x, y
int locate_pass1() {
  number_pair();
  return machine::go_on;
}

// start|exec program [, arguments]
int start_pass1() {
  evaluate_string();
  if (at_punct(',')) {
    pass1_next();
    evaluate_string();
  }
  return machine::go_on;
}

// wait milliseconds
int wait_pass1() {
  machine::evaluate_number();
  return machine::go_on;
}

// image (x, y), file
int image_pass1() {
  point();
  pass1_expect(",");
  evaluate_string();
  return machine::go_on;
}

// regist extension, program
int regist_pass1() {
  evaluate_string();
  pass1_expect(",");
  evaluate_string();
  return machine::go_on;
}

// save, edit, load, new, list, run, bye, cont — not inside a program
int refused_pass1() {
  report_diagnostic(Message::not_in_program);
  return machine::stop_quietly;
}

using Handler = int (*)();

// Rows 0-36 of the statement table, in its order.
constexpr Handler pass1_handlers[pass1_statement_rows] = {
    if_pass1,      for_pass1,     next_pass1,    goto_pass1,    gosub_pass1,   nothing_pass1,
    print_pass1,   input_pass1,   nothing_pass1, pset_pass1,    nothing_pass1, line_pass1,
    locate_pass1,  dim_pass1,     open_pass1,    close_pass1,   box_pass1,     box_pass1,
    box_pass1,     box_pass1,     start_pass1,   start_pass1,   wait_pass1,    image_pass1,
    print_pass1,   refused_pass1, refused_pass1, refused_pass1, refused_pass1, regist_pass1,
    let_pass1,     nothing_pass1, refused_pass1, refused_pass1, refused_pass1, nothing_pass1,
    refused_pass1,
};
static_assert(static_cast<int>(machine::Statement::cont) == pass1_statement_rows - 1);

std::string string_variable_name(const std::string& name) {
  std::string s = name;
  if (!s.empty()) s.back() = '_';
  return s;
}

std::int64_t element_total(const machine::Variable& v) {
  std::int64_t total = 1;
  for (int k = 0; k < v.dimension_count; ++k) total *= v.extents[k];
  return total;
}

void write_declaration(const machine::Variable& v) {
  if (v.type == counter_type) {
    output_print(" count %s!\n", {v.name});
  } else if (v.type == machine::string_type) {
    std::string name = string_variable_name(v.name);
    if (v.dimension_count == 0)
      output_print(" char %s$(512)\n", {name});
    else
      output_print(" char %s$(%s)\n", {name, std::to_string(string_slot_bytes * element_total(v))});
  } else if (v.dimension_count == 0) {
    output_print(" int %s!\n", {v.name});
  } else {
    output_print(" int %s!(%s)\n", {v.name, std::to_string(element_total(v))});
  }
}

void write_sections() {
  output_print("/* Subroutines */\n");
  for (const std::string& name : translation.subroutines) output_print("/* %s: */\n", {name});
  output_print("\n/* Variables */\n");
  for (const machine::VariablePtr& v : machine::all_variables()) write_declaration(*v);
}

// Runs one statement at the current token; the result of its handler.
int statement_pass1() {
  switch (lexer.token_kind) {
    case machine::TK_STATEMENT: {
      int row = lexer.token_index;
      if (row >= pass1_statement_rows) {
        // `make` read by the evaluator, which knows all 38 keywords: here it
        // is a plain name, as the pass-1 reader would have delivered it.
        lexer.token_kind = machine::TK_NAME;
        let_pass1();
        return machine::go_on;
      }
      pass1_next();
      return pass1_handlers[row]();
    }
    case machine::TK_NAME:
      let_pass1();
      return machine::go_on;
    case machine::TK_LABEL:
      pass1_next();  // labels mean nothing in pass 1
      return machine::go_on;
    default:
      if (!at_punct(':')) report_diagnostic(Message::syntax);
      pass1_next();  // a separator, or an offending token reported once
      return machine::go_on;
  }
}

}  // namespace

int run_pass1() {
  clear_subroutines();
  machine::clear_value();
  machine::free_variables();
  bool more = enter_first_line(pass1_next);
  while (more) {
    if (lexer.token_kind == machine::TK_END) {
      more = enter_next_line(pass1_next);
      continue;
    }
    int result = statement_pass1();
    if (result != machine::go_on) {
      clear_subroutines();
      machine::clear_value();
      machine::execution.current_line.reset();
      return result;
    }
  }
  end_running_program();
  write_sections();
  machine::clear_value();
  machine::execution.current_line.reset();
  return machine::stop_quietly;
}

}  // namespace translator
