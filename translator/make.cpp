// make.cpp — the make statement: creates the output file, runs both passes
// and closes the file; plus the token readers and line walk both passes share.
#include "translator/make.h"

#include "machine/channel_table.h"
#include "machine/errors.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/program_store.h"
#include "machine/value_stack.h"
#include "machine/variables.h"
#include "platform/paths.h"
#include "translator/translation.h"
#include "translator/translator_state.h"

using machine::lexer;

namespace translator {

void pass1_next() { machine::next_token_in(pass1_statement_rows); }

void pass1_expect(const char* text) {
  if (!lexer.is(text)) report_diagnostic(base::Message::syntax);
  pass1_next();
}

void pass2_next() { machine::next_token(); }

void pass2_expect(const char* text) {
  if (!lexer.is(text)) report_diagnostic(base::Message::syntax);
  pass2_next();
}

bool at_punct(char c) { return lexer.token_kind == machine::TK_PUNCT && lexer.first() == c; }

bool at_statement_end() { return lexer.token_kind == machine::TK_END || at_punct(':'); }

bool at_else() { return lexer.token_kind == machine::TK_END && lexer.is("else"); }

std::int32_t literal_integer() {
  return lexer.token_kind == machine::TK_NUMBER ? machine::to_int32(lexer.token_value) : 0;
}

namespace {

bool enter_line(machine::LinePtr line, TokenReader read) {
  machine::execution.current_line = std::move(line);
  if (!machine::execution.current_line) return false;
  lexer.cursor = machine::execution.current_line->text.c_str();
  read();
  return true;
}

}  // namespace

bool enter_first_line(TokenReader read) { return enter_line(machine::program.program_head, read); }

bool enter_next_line(TokenReader read) {
  machine::LinePtr next = machine::execution.current_line ? machine::execution.current_line->next : nullptr;
  return enter_line(std::move(next), read);
}


// Raised for the first pass, lowered when it ends however it ends.
struct TranslationFlag {
  TranslationFlag() { machine::execution.translation_flag = true; }
  ~TranslationFlag() { machine::execution.translation_flag = false; }
  TranslationFlag(const TranslationFlag&) = delete;
  TranslationFlag& operator=(const TranslationFlag&) = delete;
};

struct OutputClose {
  OutputClose() = default;
  ~OutputClose() { close_output(); }
  OutputClose(const OutputClose&) = delete;
  OutputClose& operator=(const OutputClose&) = delete;
};

void end_running_program() {
  if (!machine::execution.program_running) return;
  machine::execution.cont_line.reset();
  machine::execution.cont_cursor = "";
  machine::execution.program_running = false;
}

// make ["file"]
int make_statement() {
  std::string name = "compile.txt";
  if (lexer.token_kind == machine::TK_STRING) {
    name.assign(lexer.text());
    machine::next_token();
  }
  std::string path = platform::host_path(name);
  if (machine::held_by_a_channel(path)) machine::raise_error(base::Message::compiler_output);
  platform::prepare_for_writing(path);
  translation.output = platform::File::create_write(path);
  if (!translation.output.is_open()) machine::raise_error(base::Message::compiler_output);

  // An error in either pass unwinds through here: the flag is dropped and the
  // output file closed on the way back to the command loop.
  OutputClose output_guard;
  {
    TranslationFlag first_pass;
    run_pass1();
  }
  run_pass2();
  output_print(" end\n");

  clear_subroutines();
  machine::free_variables();
  machine::execution.current_line.reset();
  return machine::stop_quietly;
}

}  // namespace translator
