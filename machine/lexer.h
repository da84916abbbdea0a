// lexer.h — the one lexer state every parser reads, and the token readers.
#pragma once
#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/limits.h"

namespace machine {

struct CachedToken;
struct ProgramLine;

enum TokenKind : int {
  TK_NAME = 1,
  TK_STATEMENT = 2,
  TK_FUNCTION = 3,
  TK_NUMBER = 4,
  TK_PUNCT = 5,
  TK_STRING = 6,
  TK_LABEL = 7,
  TK_END = 8,
};

struct LexerState {
  const char* cursor = "";  // next unread byte of a NUL-terminated line text
  int token_kind = TK_END;
  char token_text[limits::token_chars + 1] = {};
  std::size_t token_length = 0;
  double token_value = 0;
  std::int32_t token_index = 0;

  std::string_view text() const { return {token_text, token_length}; }
  bool is(const char* s) const { return std::strcmp(token_text, s) == 0; }
  char first() const { return token_text[0]; }
  // The cursor position from which the current token would be read again.
  const char* token_start = "";
  // The operator code of the token text (OperatorCode, OP_NONE for most tokens).
  int op = 0;
  // The cache entry of the current token and the line it belongs to, when the
  // token came from a stored line's cache (nullptr otherwise). Cleared when
  // that line goes away.
  CachedToken* entry = nullptr;
  const ProgramLine* entry_line = nullptr;
};

extern LexerState& lexer;

// Reads the next token; statement keywords are searched in the first
// statement_rows rows of the statement table (37 leaves make a plain name).
void next_token_in(int statement_rows);
// The interpreter's reader: all 38 statement keywords. Inside the text of
// the current line it reads from the line's token cache (unless reference
// mode is on), filling it the first time.
void next_token();

// The cache entry of the token read from offset of a stored line's text,
// reading and keeping it when it was not read yet; the lexer state is left as
// it was. nullptr when reading there would raise a notation error or the token
// cannot be kept.
CachedToken* cached_token_at(ProgramLine& line, std::size_t offset);

// Reference mode: every token is read from the text again, no cache is used.
// Set from the command line or VORNBASIC_REFERENCE=1; compared against the
// cached path by the differential tests.
extern bool reference_mode;

// Called by a line that goes away: the current token no longer refers into it.
void forget_line_tokens(const ProgramLine* line);

// The operator code of a token text.
int operator_code(const char* text, std::size_t length);
// Raises the syntax error unless the token text is exactly text, then steps on.
void expect_token(const char* text);

// Points the lexer at a text and reads its first token.
void start_reading(const char* text);

// Sum of the byte values of a label name.
std::int32_t label_hash_of(std::string_view name);

}  // namespace machine
