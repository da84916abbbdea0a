// functions.cpp — the built-in functions in target code. Each handler is
// entered with the function name current, reads its own arguments and writes
// the lines that pop them (the last argument first) and call the target word.
#include <string_view>

#include "machine/lexer.h"
#include "translator/code_writers.h"
#include "translator/translation.h"

using machine::lexer;

namespace translator {
namespace {

// ( expr )
void one_argument() {
  pass2_expect("(");
  translate_expression();
  pass2_expect(")");
}

// ( expr , expr
void two_arguments() {
  pass2_expect("(");
  translate_expression();
  pass2_expect(",");
  translate_expression();
}

// [, expr] — or the default third argument
void optional_third(const char* default_line) {
  if (at_punct(',')) {
    pass2_next();
    translate_expression();
  } else {
    output_print(default_line);
  }
}

// f(expr), where the target has no such function: the argument stays as the result.
void unimplemented_with_argument(base::Message note) {
  pass2_next();
  one_argument();
  report_diagnostic(note);
}

// f, where the target has no such function: nothing is left for it.
void unimplemented_alone(base::Message note) {
  pass2_next();
  report_diagnostic(note);
}

// int(x) — the target's numbers are integers already
void int_function() {
  pass2_next();
  one_argument();
}

// abs(x)
void abs_function() {
  pass2_next();
  one_argument();
  output_print("  get_number abs put_number\n");
}

void sqr_function() { unimplemented_with_argument(base::Message::note_sqr); }
void exp_function() { unimplemented_with_argument(base::Message::note_exp); }
void log_function() { unimplemented_with_argument(base::Message::note_log); }
void sin_function() { unimplemented_with_argument(base::Message::note_sin); }
void cos_function() { unimplemented_with_argument(base::Message::note_cos); }
void tan_function() { unimplemented_with_argument(base::Message::note_tan); }
void atn_function() { unimplemented_with_argument(base::Message::note_atn); }

// chr$(code)
void chr_function() {
  pass2_next();
  one_argument();
  output_print("  get_number __sbuf2$(0)=\n");
  output_print("  0, __sbuf2$(1)=\n");
  output_print("  __sbuf2, put_string\n");
}

// asc(s$)
void asc_function() {
  pass2_next();
  one_argument();
  output_print("  get_string __args!=\n");
  output_print("  (__args)$, put_number\n");
  output_print("  __args!, free\n");
}

// mid$(s$, start [, length])
void mid_function() {
  pass2_next();
  two_arguments();
  optional_third("  511, put_number\n");
  pass2_expect(")");
  output_print("  get_number __args!(2)=\n");
  output_print("  get_number __args!(1)=\n");
  output_print("  get_string __args!(0)=\n");
  output_print("  bas_mids put_string\n");
}

// left$(s$, n) and right$(s$, n)
void cut_function(const char* word_line) {
  pass2_next();
  two_arguments();
  pass2_expect(")");
  output_print("  get_number __args!(1)=\n");
  output_print("  get_string __args!(0)=\n");
  output_print(word_line);
}

void left_function() { cut_function("  bas_lefts put_string\n"); }
void right_function() { cut_function("  bas_rights put_string\n"); }

// input$(count [, [#]channel])
void input_function() {
  pass2_next();
  pass2_expect("(");
  translate_expression();
  bool from_channel = at_punct(',');
  if (from_channel) {
    pass2_next();
    if (at_punct('#')) pass2_next();
    translate_expression();
  }
  pass2_expect(")");
  if (from_channel) {
    output_print("  get_number __args!(1)=\n");
    output_print("  get_number __args!(0)=\n");
    output_print("  bas_finputs put_string\n");
  } else {
    output_print("  get_number __args!(0)=\n");
    output_print("  bas_inputs put_string\n");
  }
}

// inkey$
void inkey_function() {
  pass2_next();
  output_print("  bas_inkeys put_string\n");
}

// f(x) calling one target word with its argument in __args(0)
void call_with_argument(const char* pop_line, const char* word_line) {
  pass2_next();
  one_argument();
  output_print(pop_line);
  output_print(word_line);
}

void eof_function() { call_with_argument("  get_number __args!(0)=\n", "  bas_eof put_number\n"); }
void str_function() { call_with_argument("  get_number __args!(0)=\n", "  bas_strs put_string\n"); }
void val_function() { call_with_argument("  get_string __args!(0)=\n", "  bas_val put_number\n"); }
void len_function() { call_with_argument("  get_string __args!(0)=\n", "  bas_len put_number\n"); }

void time_function() { unimplemented_alone(base::Message::note_time); }
void date_function() { unimplemented_alone(base::Message::note_date); }

// instr(s$, find$ [, start])
void instr_function() {
  pass2_next();
  two_arguments();
  optional_third("  1, put_number\n");
  pass2_expect(")");
  output_print("  get_number __args!(2)=\n");
  output_print("  get_string __args!(1)=\n");
  output_print("  get_string __args!(0)=\n");
  output_print("  bas_instr put_number\n");
}

void rnd_function() { unimplemented_with_argument(base::Message::note_rnd); }
void netstat_function() { unimplemented_alone(base::Message::note_netstat); }

}  // namespace

constexpr machine::FunctionRow function_translators[machine::function_count] = {
    {"int", int_function},       {"abs", abs_function},       {"sqr", sqr_function},
    {"exp", exp_function},       {"log", log_function},       {"sin", sin_function},
    {"cos", cos_function},       {"tan", tan_function},       {"atn", atn_function},
    {"chr$", chr_function},      {"asc", asc_function},       {"mid$", mid_function},
    {"left$", left_function},    {"right$", right_function},  {"input$", input_function},
    {"inkey$", inkey_function},  {"eof", eof_function},       {"str$", str_function},
    {"val", val_function},       {"len", len_function},       {"time$", time_function},
    {"date$", date_function},    {"instr", instr_function},   {"rnd", rnd_function},
    {"netstat", netstat_function},
};

// The rows must stand in the order that the lexer's token_index refers to.
constexpr bool rows_in_order() {
  for (int i = 0; i < machine::function_count; ++i)
    if (std::string_view(function_translators[i].keyword) != machine::function_keywords[i]) return false;
  return true;
}
static_assert(rows_in_order());

}  // namespace translator
