// translation.h — what the translator's files share: its process-wide state,
// the output writer, diagnostics, the token readers of both passes and the
// walk from one program line to the next.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/format_text.h"
#include "base/messages.h"
#include "platform/file.h"

namespace translator {

// Pass 1 searches the first 37 statement keywords: `make` is a plain name there.
inline constexpr int pass1_statement_rows = 37;

struct Translation {
  platform::File output;                 // the file being written; closed when none
  std::vector<std::string> subroutines;  // gosub targets, first-met order, no name twice
  std::int32_t label_counter = 0;        // numbers every generated label of pass 2
  int if_depth = 0;                      // ifs being translated, the outermost counting 1
};
extern Translation translation;

// Subroutine list.
void add_subroutine(std::string_view name);
bool contains_subroutine(std::string_view name);
void clear_subroutines();

// The current label number; the counter moves on by one.
std::int32_t take_label();

// Formats one template (line feeds become CR LF, at most 511 bytes) and writes
// it to the output file; a failed write is ignored.
void output_print(std::string_view format, base::FormatArgs args = {});

// Prints "Line N : " (while a numbered program line is current), the message
// and a line feed on the console; the translation goes on.
void report_diagnostic(std::string_view sjis_message);
void report_diagnostic(base::Message message);

// Token readers and expects of the two passes. An expect that finds another
// text reports the syntax error and steps on all the same.
void pass1_next();
void pass1_expect(const char* text);
void pass2_next();
void pass2_expect(const char* text);
using TokenReader = void (*)();

// The current token is the punctuation character c.
bool at_punct(char c);
// ":" or the end of the statement list (end of line, comment or `else`).
bool at_statement_end();
// The current token is the word `else`.
bool at_else();
// The integer part of a number literal; 0 when the current token is none.
std::int32_t literal_integer();

// Make the program's first line (or the current line's successor) current
// and read its first token; false, with no current line, when there is none.
bool enter_first_line(TokenReader read);
bool enter_next_line(TokenReader read);
// What the executor does when a running program runs off its last line.
void end_running_program();

// The passes; each returns the result code of the statement that stopped it.
int run_pass1();
int run_pass2();

}  // namespace translator
