// pass2.cpp — the second pass of make: walks the program again and writes the
// main program statement by statement; also `if`, which translates both of
// its branches and moves to the next line itself.
#include <string_view>

#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/program_store.h"
#include "translator/code_writers.h"
#include "translator/translation.h"

using machine::lexer;
using base::Message;

namespace translator {
namespace {

// Translates one statement (or steps over a separator) at the current token,
// which is neither the end of the line nor a label.
int translate_statement() {
  switch (lexer.token_kind) {
    case machine::TK_STATEMENT: {
      int row = lexer.token_index;
      pass2_next();
      return statement_translators[row].handler();
    }
    case machine::TK_NAME:
      assign_translation();
      return machine::go_on;
    default:
      if (!at_punct(':')) report_diagnostic(Message::syntax);
      pass2_next();  // a separator, or an offending token reported once
      return machine::go_on;
  }
}

// The statements of one branch of an if, up to the end of the line or `else`.
int translate_branch() {
  for (;;) {
    if (lexer.token_kind == machine::TK_END) return machine::go_on;
    if (lexer.token_kind == machine::TK_LABEL) {
      pass2_next();  // no label line inside a branch
      continue;
    }
    int result = translate_statement();
    if (result != machine::go_on) return result;
  }
}

// Counts the ifs being translated, for the time one is translated.
struct IfNesting {
  IfNesting() { ++translation.if_depth; }
  ~IfNesting() { --translation.if_depth; }
  IfNesting(const IfNesting&) = delete;
  IfNesting& operator=(const IfNesting&) = delete;
};

// The line of an if has been translated: go on with the next line. An if
// inside a branch of another leaves the end of the line to the outer one,
// which then closes its own branch there.
int finish_if_line() {
  if (translation.if_depth > 1) return machine::go_on;
  if (enter_next_line(pass2_next)) return machine::go_on;
  end_running_program();
  return machine::stop_quietly;
}

// else @label | else statements
int translate_else() {
  pass2_next();
  if (lexer.token_kind == machine::TK_LABEL) {
    output_print(" goto %s\n", {lexer.text()});
    if (translation.if_depth > 1) pass2_next();
    return finish_if_line();
  }
  int result = translate_branch();
  return result == machine::go_on ? finish_if_line() : result;
}

}  // namespace

// if expr then (@label | statements) [else (@label | statements)]
int if_translation() {
  IfNesting nesting;
  std::int32_t n = take_label();
  translate_expression();
  output_print("  get_number __tmp1!=\n");
  pass2_expect("then");
  int result = machine::go_on;
  if (lexer.token_kind == machine::TK_LABEL) {
    output_print("  if __tmp1!<>0 goto %s\n", {lexer.text()});
    pass2_next();
    if (at_else()) result = translate_else();
  } else {
    output_print("  if __tmp1!=0 goto __else%d\n", {n});
    result = translate_branch();
    if (result == machine::go_on) {
      output_print("  goto __endif%d\n", {n});
      output_print("__else%d:\n", {n});
      result = at_else() ? translate_else() : finish_if_line();
    }
  }
  output_print("__endif%d:\n", {n});
  return result;
}

constexpr machine::StatementRow statement_translators[machine::statement_count] = {
    {"if", if_translation},
    {"for", for_translation},
    {"next", next_translation},
    {"goto", goto_translation},
    {"gosub", gosub_translation},
    {"return", end_translation},
    {"print", print_translation},
    {"input", input_translation},
    {"clear", clear_translation},
    {"pset", pset_translation},
    {"cls", cls_translation},
    {"line", line_translation},
    {"locate", locate_translation},
    {"dim", dim_translation},
    {"open", open_translation},
    {"close", close_translation},
    {"box", box_translation},
    {"boxf", boxf_translation},
    {"circle", circle_translation},
    {"circlef", circlef_translation},
    {"start", start_translation},
    {"exec", exec_translation},
    {"wait", wait_translation},
    {"image", image_translation},
    {"?", print_translation},
    {"save", refused_translation},
    {"edit", refused_translation},
    {"load", refused_translation},
    {"new", refused_translation},
    {"regist", regist_translation},
    {"let", assign_translation},
    {"end", end_translation},
    {"list", refused_translation},
    {"run", refused_translation},
    {"bye", refused_translation},
    {"stop", stop_translation},
    {"cont", refused_translation},
    {"make", refused_translation},
};

// The rows must stand in the order that the lexer's token_index refers to.
constexpr bool rows_in_order() {
  for (int i = 0; i < machine::statement_count; ++i)
    if (std::string_view(statement_translators[i].keyword) != machine::statement_keywords[i]) return false;
  return true;
}
static_assert(rows_in_order());

int run_pass2() {
  translation.label_counter = 0;
  translation.if_depth = 0;
  output_print("\n");
  output_print("/*  Basic main program */\n");
  output_print("BasicMain:\n");
  output_print("  clear_value\n");
  bool more = enter_first_line(pass2_next);
  while (more) {
    if (lexer.token_kind == machine::TK_END) {
      more = enter_next_line(pass2_next);
    } else if (lexer.token_kind == machine::TK_LABEL) {
      output_print(" %s:\n", {lexer.text()});
      pass2_next();
    } else if (int result = translate_statement(); result != machine::go_on) {
      return result;
    }
  }
  end_running_program();
  return machine::stop_quietly;
}

}  // namespace translator
