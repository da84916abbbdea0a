// print_input.cpp — console and channel forms of print and input.
#include "statements/print_input.h"

#include "machine/channel_table.h"
#include "machine/evaluator.h"
#include "machine/number_parse.h"
#include "machine/value_stack.h"
#include "machine/variables.h"
#include "machine/errors.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "device/console.h"
#include "device/line_input.h"

using front::lexer;
using front::Message;
using front::raise_error;

namespace core {
namespace {

// Separators count only as punctuation: print ":" prints a colon.
bool is_punct(const char* text) { return lexer.token_kind == front::TK_PUNCT && lexer.is(text); }

bool at_statement_end() { return lexer.token_kind == front::TK_END || is_punct(":"); }

// Where the pieces of a print statement go: the console, or channel n.
struct PrintTarget {
  int channel = -1;
  void write(std::string_view format, host::FormatArgs args = {}) const {
    if (channel < 0)
      host::console_print(format, args);
    else
      channels::channel_print(channel, format, args);
  }
};

void print_items(const PrintTarget& out) {
  bool line_end = true;
  while (!at_statement_end()) {
    clear_value();
    evaluate();
    if (value_type() == string_type) {
      std::string s = get_string();
      out.write("%s", {s});
    } else {
      out.write("%g", {get_number()});
    }
    front::expect_empty_stack();
    line_end = true;
    if (is_punct(";")) {
      line_end = false;
      front::next_token();
    } else if (is_punct(",")) {
      out.write("\t");
      front::next_token();
    } else if (!at_statement_end()) {
      raise_error(Message::syntax);
    }
  }
  if (line_end) out.write("\n");
}

void assign_input(const ValueCell& cell, std::string line) {
  if (cell.type == string_type)
    *cell.text = std::move(line);
  else
    *cell.number = parse_number(line);
}

// input #n, var {, | ; var}
void input_from_channel() {
  front::next_token();  // past '#'
  int n = channels::channel_number_token();
  channels::Channel& ch = channels::channel_table[n];
  if (!ch.file_handle.is_open()) raise_error(Message::file_not_open);
  // The comma after the channel number belongs to the form: input #1, a
  if (is_punct(",")) front::next_token();
  while (lexer.token_kind == front::TK_NAME) {
    ValueCell cell = variable_slot(false);
    std::string line;
    channels::channel_read_line(ch.file_handle, line, limits::line_bytes);
    assign_input(cell, std::move(line));
    if (!is_punct(",") && !is_punct(";")) break;
    front::next_token();
  }
}

}  // namespace

// print [#n,] [item {, | ; item}] [, | ;]
int print_statement() {
  PrintTarget out;
  if (is_punct("#")) {
    front::next_token();
    int n = channels::channel_number_token();
    if (channels::channel_table[n].is_free()) raise_error(Message::file_not_open);
    if (at_statement_end()) return front::go_on;
    front::expect_token(",");
    out.channel = n;
  }
  print_items(out);
  return front::go_on;
}

// input [prompts] var {sep [prompts] var} | input #n, var {sep var}
int input_statement() {
  if (is_punct("#")) {
    input_from_channel();
    return front::go_on;
  }
  bool ask = true;
  for (;;) {
    while (lexer.token_kind != front::TK_NAME) {
      if (lexer.token_kind == front::TK_STRING) {
        host::console_print("%s", {lexer.text()});
      } else if (is_punct(",")) {
        ask = true;
      } else if (is_punct(";")) {
        ask = false;
      } else {
        return front::go_on;
      }
      front::next_token();
    }
    ValueCell cell = variable_slot(false);
    if (ask) host::console_print("? ");
    assign_input(cell, host::read_typed_line());
    ask = true;
  }
}

}  // namespace core
