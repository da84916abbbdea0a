// lexer.cpp — tokens are read lazily from the line text each time it runs.
#include "machine/lexer.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "machine/errors.h"
#include "machine/keywords.h"
#include "machine/machine.h"

namespace machine {

LexerState& lexer = state.lexer;

namespace {

bool is_letter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool is_hex_digit(unsigned char c) {
  return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool is_octal_digit(unsigned char c) { return c >= '0' && c <= '7'; }

// Appends one byte to the token text; bytes past its 259 are dropped (no
// line of 255 bytes can hold a longer token).
void keep(char c) {
  if (lexer.token_length < limits::token_chars) {
    lexer.token_text[lexer.token_length++] = c;
    lexer.token_text[lexer.token_length] = '\0';
  }
}

// Rows of a keyword list grouped by first letter, in row order, so that a name
// is compared only with the few keywords that share its first letter.
struct KeywordIndex {
  std::vector<int> rows_by_letter[26];
  explicit KeywordIndex(const char* const* table, int count) {
    for (int i = 0; i < count; ++i)
      if (table[i][0] >= 'a' && table[i][0] <= 'z') rows_by_letter[table[i][0] - 'a'].push_back(i);  // "?" is punctuation
  }
};

const KeywordIndex statement_index(statement_keywords, statement_count);
const KeywordIndex function_index(function_keywords, function_count);

// The row of the token text among the first `rows` rows of a list, or -1.
int find_keyword(const KeywordIndex& index, const char* const* table, int rows) {
  char first = lexer.token_text[0];
  if (first < 'a' || first > 'z') return -1;
  for (int i : index.rows_by_letter[first - 'a']) {
    if (i >= rows) break;
    if (std::strcmp(table[i], lexer.token_text) == 0) return i;
  }
  return -1;
}

void read_name(int statement_rows) {
  const char* p = lexer.cursor;
  while (is_letter(*p) || is_digit(*p) || *p == '$') keep(*p++);
  lexer.cursor = p;
  if (lexer.is("else")) {
    lexer.token_kind = TK_END;
    return;
  }
  int row = find_keyword(statement_index, statement_keywords, statement_rows);
  if (row >= 0) {
    lexer.token_kind = TK_STATEMENT;
    lexer.token_index = row;
    return;
  }
  row = find_keyword(function_index, function_keywords, function_count);
  if (row >= 0) {
    lexer.token_kind = TK_FUNCTION;
    lexer.token_index = row;
    return;
  }
  lexer.token_kind = TK_NAME;
}

void read_label() {
  const char* p = lexer.cursor + 1;
  std::int32_t hash = 0;
  while (is_letter(*p) || is_digit(*p)) {
    hash += static_cast<unsigned char>(*p);
    keep(*p++);
  }
  lexer.cursor = p;
  lexer.token_kind = TK_LABEL;
  lexer.token_index = hash;
}

// Digits read as a 32-bit pattern taken as signed; longer texts keep the low 32 bits.
double read_radix(const char* digits, unsigned base) {
  std::uint32_t v = 0;
  for (const char* p = digits; *p; ++p) {
    unsigned d = is_digit(*p) ? *p - '0' : (*p | 0x20) - 'a' + 10;
    v = v * base + d;
  }
  return static_cast<double>(static_cast<std::int32_t>(v));
}

void read_radix_literal() {
  const char* p = lexer.cursor + 1;  // past '&'
  unsigned char d = *p;
  lexer.token_kind = TK_NUMBER;
  if (d == 'h' || d == 'H') {
    ++p;
    if (!is_hex_digit(*p)) {
      lexer.cursor = p;
      raise_error(Message::bad_hex);
    }
    while (is_hex_digit(*p)) keep(*p++);
    lexer.cursor = p;
    lexer.token_value = read_radix(lexer.token_text, 16);
  } else if (is_octal_digit(d)) {
    while (is_octal_digit(*p)) keep(*p++);
    lexer.cursor = p;
    lexer.token_value = read_radix(lexer.token_text, 8);
  } else {
    lexer.cursor = d ? p + 1 : p;
    raise_error(Message::bad_octal);
  }
}

// e or E, then a sign or digit, then digits.
const char* read_exponent(const char* p) {
  keep(*p++);
  if (*p != '+' && *p != '-' && !is_digit(*p)) {
    lexer.cursor = p;
    raise_error(Message::bad_real);
  }
  keep(*p++);
  while (is_digit(*p)) keep(*p++);
  return p;
}

double decimal_value(const char* text) {
  // The text holds only digits, '.', and an exponent: strtod reads it as "%lg" would.
  return std::strtod(text, nullptr);
}

void read_number() {
  const char* p = lexer.cursor;
  lexer.token_kind = TK_NUMBER;
  if (*p == '.') {
    keep(*p++);
    if (!is_digit(*p)) {
      lexer.cursor = p;
      raise_error(Message::bad_real);
    }
    while (is_digit(*p)) keep(*p++);
    if (*p == 'e' || *p == 'E') p = read_exponent(p);
    lexer.cursor = p;
    lexer.token_value = decimal_value(lexer.token_text);
    return;
  }
  while (is_digit(*p)) keep(*p++);
  if (*p == '.') {
    keep(*p++);
    while (is_digit(*p)) keep(*p++);
    if (*p == 'e' || *p == 'E') p = read_exponent(p);
    lexer.cursor = p;
    lexer.token_value = decimal_value(lexer.token_text);
    return;
  }
  if (*p == 'e' || *p == 'E') {
    p = read_exponent(p);
    lexer.cursor = p;
    lexer.token_value = decimal_value(lexer.token_text);
    return;
  }
  lexer.cursor = p;
  // Digits only: a signed 32-bit integer; larger values saturate.
  double v = decimal_value(lexer.token_text);
  lexer.token_value = v > 2147483647.0 ? 2147483647.0 : v;
}

void read_punct() {
  const char* p = lexer.cursor;
  char c = *p++;
  keep(c);
  char d = *p;
  if ((c == '=' && (d == '<' || d == '>')) || (c == '<' && (d == '>' || d == '=')) ||
      (c == '>' && (d == '=' || d == '<'))) {
    keep(d);
    ++p;
  }
  lexer.cursor = p;
  if (c == '?') {
    lexer.token_kind = TK_STATEMENT;
    lexer.token_index = static_cast<int>(Statement::question);
  } else {
    lexer.token_kind = TK_PUNCT;
  }
}

}  // namespace

void next_token_in(int statement_rows) {
  lexer.token_start = lexer.cursor;
  lexer.token_length = 0;
  lexer.token_text[0] = '\0';
  const char* p = lexer.cursor;
  while (static_cast<unsigned char>(*p) >= 1 && static_cast<unsigned char>(*p) <= 32) ++p;
  lexer.cursor = p;
  unsigned char c = *p;
  if (c == 0 || c == '\'') {
    lexer.token_kind = TK_END;  // the cursor stays: every further call gives TK_END
  } else if (c == '"') {
    ++p;
    while (*p && *p != '"') keep(*p++);
    if (*p == '"') ++p;
    lexer.cursor = p;
    lexer.token_kind = TK_STRING;
  } else if (is_letter(c)) {
    read_name(statement_rows);
  } else if (c == '@') {
    read_label();
  } else if (c == '&') {
    read_radix_literal();
  } else if (c == '.' || is_digit(c)) {
    read_number();
  } else {
    read_punct();
  }
}

void next_token() { next_token_in(statement_count); }

void expect_token(const char* text) {
  if (!lexer.is(text)) raise_error(Message::syntax);
  next_token();
}

void start_reading(const char* text) {
  lexer.cursor = text;
  next_token();
}

std::int32_t label_hash_of(std::string_view name) {
  std::int32_t hash = 0;
  for (char c : name) hash += static_cast<unsigned char>(c);
  return hash;
}

}  // namespace machine
