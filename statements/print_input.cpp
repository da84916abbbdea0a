// print_input.cpp — console and channel forms of print and input.
#include "statements/print_input.h"

#include "device/console.h"
#include "device/line_input.h"
#include "machine/channel_table.h"
#include "machine/errors.h"
#include "machine/evaluator.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/memory_budget.h"
#include "machine/number_parse.h"
#include "machine/value_stack.h"
#include "machine/variables.h"

using machine::lexer;
using base::Message;
using machine::raise_error;

namespace statements {
namespace {

// Separators count only as punctuation: print ":" prints a colon.
bool is_punct(const char* text) { return lexer.token_kind == machine::TK_PUNCT && lexer.is(text); }

bool at_statement_end() { return lexer.token_kind == machine::TK_END || is_punct(":"); }

// Where the pieces of a print statement go: the console, or channel n.
struct PrintTarget {
  int channel = -1;
  void write(std::string_view format, base::FormatArgs args = {}) const {
    if (channel < 0)
      device::console_print(format, args);
    else
      machine::channel_print(channel, format, args);
  }
};

void print_items(const PrintTarget& out) {
  bool line_end = true;
  while (!at_statement_end()) {
    machine::clear_value();
    machine::evaluate();
    if (machine::value_type() == machine::string_type) {
      std::string s = machine::get_string();
      out.write("%s", {s});
    } else {
      out.write("%g", {machine::get_number()});
    }
    machine::expect_empty_stack();
    line_end = true;
    if (is_punct(";")) {
      line_end = false;
      machine::next_token();
    } else if (is_punct(",")) {
      out.write("\t");
      machine::next_token();
    } else if (!at_statement_end()) {
      raise_error(Message::syntax);
    }
  }
  if (line_end) out.write("\n");
}

void assign_input(const machine::ValueCell& cell, std::string line) {
  if (cell.type == machine::string_type)
    machine::store_text(*cell.text, std::move(line));
  else
    *cell.number = machine::parse_number(line);
}

// input #n, var {, | ; var}
void input_from_channel() {
  machine::next_token();  // past '#'
  int n = machine::channel_number_token();
  machine::Channel& ch = machine::channel_table[n];
  if (!ch.file_handle.is_open()) raise_error(Message::file_not_open);
  // The comma after the channel number belongs to the form: input #1, a
  if (is_punct(",")) machine::next_token();
  while (lexer.token_kind == machine::TK_NAME) {
    machine::ValueCell cell = machine::variable_slot(false);
    std::string line;
    machine::channel_read_line(ch.file_handle, line, limits::line_bytes);
    assign_input(cell, std::move(line));
    if (!is_punct(",") && !is_punct(";")) break;
    machine::next_token();
  }
}

}  // namespace

// print [#n,] [item {, | ; item}] [, | ;]
int print_statement() {
  PrintTarget out;
  if (is_punct("#")) {
    machine::next_token();
    int n = machine::channel_number_token();
    if (machine::channel_table[n].is_free()) raise_error(Message::file_not_open);
    if (at_statement_end()) return machine::go_on;
    machine::expect_token(",");
    out.channel = n;
  }
  print_items(out);
  return machine::go_on;
}

// input [prompts] var {sep [prompts] var} | input #n, var {sep var}
int input_statement() {
  if (is_punct("#")) {
    input_from_channel();
    return machine::go_on;
  }
  bool ask = true;
  for (;;) {
    while (lexer.token_kind != machine::TK_NAME) {
      if (lexer.token_kind == machine::TK_STRING) {
        device::console_print("%s", {lexer.text()});
      } else if (is_punct(",")) {
        ask = true;
      } else if (is_punct(";")) {
        ask = false;
      } else {
        return machine::go_on;
      }
      machine::next_token();
    }
    machine::ValueCell cell = machine::variable_slot(false);
    if (ask) device::console_print("? ");
    assign_input(cell, device::read_typed_line());
    ask = true;
  }
}

}  // namespace statements
