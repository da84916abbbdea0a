// statements.cpp — pass 2 of assignments, jumps, loops, print and input, and
// of the statements that write nothing.
#include <string>

#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/value_stack.h"
#include "machine/variables.h"
#include "translator/code_writers.h"
#include "translator/translation.h"

using machine::lexer;
using base::Message;

namespace translator {
namespace {

bool is_string_name(std::string_view name) { return machine::type_of_name(name) == machine::string_type; }

// The channel after '#': its number, reported when outside 0..9 but used as it is.
std::int32_t channel_in_range() {
  std::int32_t n = literal_integer();
  if (n < 0 || n >= limits::channel_count) report_diagnostic(Message::out_of_range);
  return n;
}

void write_channel_guard(std::int32_t n) {
  output_print("  if Xfd!(%d)=ERROR then \"%s\", prints nl\n",
               {n, base::message_text(Message::file_not_open)});
}

// Where print writes: the console (channel -1) or a channel's file.
void write_print_item(std::int32_t channel) {
  output_print("  clear_value\n");
  translate_expression();
  output_print(" value_type __tmp1!=\n");
  std::int32_t n = take_label();
  if (channel < 0) {
    output_print(" if __tmp1!=STRING then get_string __tmp1!= prints __tmp1!, free goto__lbl%d\n", {n});
    output_print(" get_number printd\n");
  } else {
    output_print(" if __tmp1!=STRING then get_string __tmp1!= Xfd!(%d), fprints __tmp1!, free goto__lbl%d\n",
                 {channel, n});
    output_print(" get_number Xfd!(%d), fprintd\n", {channel});
  }
  output_print(" __lbl%d:\n", {n});
}

// item {,|; item} [,|;] — a comma writes a TAB, a final ';' keeps the line open
void write_print_items(std::int32_t channel) {
  char last = '\0';
  while (!at_statement_end()) {
    // A string literal is an item, never a separator: print ";" ends its line.
    last = lexer.token_kind == machine::TK_STRING ? '\0' : lexer.first();
    write_print_item(channel);
    if (at_punct(',')) {
      last = ',';
      if (channel < 0)
        output_print("  %d, putchar\n", {9});
      else
        output_print("  %d, Xfd!(%d), putc\n", {9, channel});
      pass2_next();
    } else if (at_punct(';')) {
      last = ';';
      pass2_next();
    } else if (!at_statement_end()) {
      report_diagnostic(Message::syntax);
      pass2_next();  // the offending token is reported once and skipped
    }
  }
  if (last == ';') return;
  if (channel < 0)
    output_print("  nl\n");
  else
    output_print("  Xfd!(%d), fnl\n", {channel});
}

// After translate_address: the line in __sbuf becomes the variable's value.
void write_input_store(bool text) {
  if (text)
    output_print("  __sbuf, get_number strcpy\n");
  else
    output_print("  get_number __tmp1!= __sbuf, 10, atoi (__tmp1)!=\n");
}

// input #n, var {,|; var}
void input_from_channel() {
  pass2_next();
  std::int32_t n = channel_in_range();
  write_channel_guard(n);
  pass2_next();
  for (;;) {
    if (lexer.token_kind == machine::TK_NAME) {
      bool text = is_string_name(lexer.text());
      translate_address();
      output_print("  __sbuf, Xfd!(%d), finputs\n", {n});
      write_input_store(text);
    } else if (at_punct(',') || at_punct(';')) {
      pass2_next();
    } else {
      return;
    }
  }
}

}  // namespace

// [let] name[(subscripts)] = expression
int assign_translation() {
  if (lexer.token_kind != machine::TK_NAME) return machine::go_on;
  bool text = is_string_name(lexer.text());
  translate_address();
  pass2_expect("=");
  translate_expression();
  if (text) {
    output_print("  get_string __tmp1!= get_number __tmp2!=\n");
    output_print("  __tmp1!, __tmp2!,  strcpy\n");
    output_print("  __tmp1!, free\n");
  } else {
    output_print("  get_number __tmp1!= get_number __tmp2!=\n");
    output_print("  __tmp1!, (__tmp2)!=\n");
  }
  output_print("  clear_value\n");
  return machine::go_on;
}

// goto @label
int goto_translation() {
  if (lexer.token_kind != machine::TK_LABEL) report_diagnostic(Message::syntax);
  output_print(" goto %s\n", {lexer.text()});
  pass2_next();
  return machine::go_on;
}

// gosub @label — a call is the bare name of the label
int gosub_translation() {
  if (lexer.token_kind != machine::TK_LABEL) report_diagnostic(Message::syntax);
  output_print(" %s\n", {lexer.text()});
  pass2_next();
  return machine::go_on;
}

// end, return
int end_translation() {
  output_print(" end\n");
  return machine::go_on;
}

// for name = expr to expr [step expr]
int for_translation() {
  std::string name(lexer.text().substr(0, limits::string_bytes));
  assign_translation();
  pass2_expect("to");
  output_print("  clear_value\n");
  translate_expression();
  output_print(" get_number __tmp1!=\n");
  if (lexer.is("step")) {
    pass2_next();
    output_print("  clear_value\n");
    translate_expression();
    output_print(" get_number __tmp2!=\n");
  } else {
    // Without step the loop counts down when it starts above its limit.
    output_print(" 1, __tmp2!=\n");
    output_print(" if %s!>__tmp1! then -1, __tmp2!=\n", {name});
  }
  output_print(" for %s!=%s! to __tmp1! step __tmp2!\n", {name, name});
  return machine::go_on;
}

// next name
int next_translation() {
  if (lexer.token_kind != machine::TK_NAME) report_diagnostic(base::Message::note_next_needs_variable);
  std::string name(lexer.text());
  pass2_next();
  output_print(" next %s!\n", {name});
  return machine::go_on;
}

// print [#n [, items]] | print items   (also ?)
int print_translation() {
  if (!at_punct('#')) {
    write_print_items(-1);
    return machine::go_on;
  }
  pass2_next();
  if (lexer.token_kind != machine::TK_NUMBER) report_diagnostic(Message::syntax);
  std::int32_t n = channel_in_range();
  write_channel_guard(n);
  pass2_next();
  if (at_statement_end()) return machine::go_on;
  pass2_expect(",");
  write_print_items(n);
  return machine::go_on;
}

// input [prompt] var {,|; [prompt] var} | input #n, var {,|; var}
int input_translation() {
  if (at_punct('#')) {
    input_from_channel();
    return machine::go_on;
  }
  bool ask = true;
  for (;;) {
    if (lexer.token_kind == machine::TK_STRING) {
      output_print("  \"%s\", prints\n", {lexer.text()});
      pass2_next();
    } else if (lexer.token_kind == machine::TK_NAME) {
      bool text = is_string_name(lexer.text());
      translate_address();
      if (ask) output_print("  \"? \", prints\n");
      output_print("  __sbuf, inputs\n");
      write_input_store(text);
      ask = true;
    } else if (at_punct(',')) {
      ask = true;
      pass2_next();
    } else if (at_punct(';')) {
      ask = false;
      pass2_next();
    } else {
      return machine::go_on;
    }
  }
}

// clear — the target cannot drop its variables
int clear_translation() {
  report_diagnostic(Message::not_in_program);
  return machine::go_on;
}

// cls
int cls_translation() {
  output_print(" cls\n");
  return machine::go_on;
}

// dim ... — the arrays were declared by pass 1
int dim_translation() {
  while (!at_statement_end()) pass2_next();
  return machine::go_on;
}

// stop
int stop_translation() {
  report_diagnostic(base::Message::note_stop_ignored);
  return machine::go_on;
}

// save, edit, load, new, list, run, bye, cont, make — not inside a program
int refused_translation() {
  report_diagnostic(Message::not_in_program);
  return machine::stop_quietly;
}

}  // namespace translator
