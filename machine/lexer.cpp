// lexer.cpp — tokens are read lazily from the line text each time it runs.
#include "machine/lexer.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "machine/errors.h"
#include "machine/keywords.h"
#include "machine/machine.h"
#include "machine/token_cache.h"

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

// A notation error leaves the cursor where the reader stopped and names the
// message; the caller raises it (or, probing, only notes that it would).
using Notation = const Message*;
constexpr Message bad_hex = Message::bad_hex, bad_octal = Message::bad_octal, bad_real = Message::bad_real;

Notation read_radix_literal() {
  const char* p = lexer.cursor + 1;  // past '&'
  unsigned char d = *p;
  lexer.token_kind = TK_NUMBER;
  if (d == 'h' || d == 'H') {
    ++p;
    if (!is_hex_digit(*p)) {
      lexer.cursor = p;
      return &bad_hex;
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
    return &bad_octal;
  }
  return nullptr;
}

// e or E, then a sign or digit, then digits; nullptr when no sign or digit follows.
const char* read_exponent(const char* p) {
  keep(*p++);
  if (*p != '+' && *p != '-' && !is_digit(*p)) {
    lexer.cursor = p;
    return nullptr;
  }
  keep(*p++);
  while (is_digit(*p)) keep(*p++);
  return p;
}

double decimal_value(const char* text) {
  // The text holds only digits, '.', and an exponent: strtod reads it as "%lg" would.
  return std::strtod(text, nullptr);
}

Notation read_number() {
  const char* p = lexer.cursor;
  lexer.token_kind = TK_NUMBER;
  if (*p == '.') {
    keep(*p++);
    if (!is_digit(*p)) {
      lexer.cursor = p;
      return &bad_real;
    }
    while (is_digit(*p)) keep(*p++);
    if ((*p == 'e' || *p == 'E') && !(p = read_exponent(p))) return &bad_real;
    lexer.cursor = p;
    lexer.token_value = decimal_value(lexer.token_text);
    return nullptr;
  }
  while (is_digit(*p)) keep(*p++);
  if (*p == '.') {
    keep(*p++);
    while (is_digit(*p)) keep(*p++);
    if ((*p == 'e' || *p == 'E') && !(p = read_exponent(p))) return &bad_real;
    lexer.cursor = p;
    lexer.token_value = decimal_value(lexer.token_text);
    return nullptr;
  }
  if (*p == 'e' || *p == 'E') {
    if (!(p = read_exponent(p))) return &bad_real;
    lexer.cursor = p;
    lexer.token_value = decimal_value(lexer.token_text);
    return nullptr;
  }
  lexer.cursor = p;
  // Digits only: a signed 32-bit integer; larger values saturate.
  double v = decimal_value(lexer.token_text);
  lexer.token_value = v > 2147483647.0 ? 2147483647.0 : v;
  return nullptr;
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

Notation read_token(int statement_rows) {
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
    return read_radix_literal();
  } else if (c == '.' || is_digit(c)) {
    return read_number();
  } else {
    read_punct();
  }
  return nullptr;
}

}  // namespace

void next_token_in(int statement_rows) {
  lexer.entry = nullptr;
  lexer.entry_line = nullptr;
  lexer.op = OP_NONE;  // a notation error leaves no operator behind
  if (Notation error = read_token(statement_rows)) raise_error(*error);
  lexer.op = operator_code(lexer.token_text, lexer.token_length);
}

bool reference_mode = [] {
  const char* v = std::getenv("VORNBASIC_REFERENCE");
  return v && *v && *v != '0';
}();

int operator_code(const char* t, std::size_t n) {
  switch (n) {
    case 1:
      switch (t[0]) {
        case '+': return OP_PLUS;
        case '-': return OP_MINUS;
        case '*': return OP_STAR;
        case '/': return OP_SLASH;
        case '^': return OP_CARET;
        case '>': return OP_GT;
        case '<': return OP_LT;
        case '=': return OP_EQ;
        case '(': return OP_LPAREN;
        case ')': return OP_RPAREN;
        case ',': return OP_COMMA;
        case ':': return OP_COLON;
        default: return OP_NONE;
      }
    case 2:
      if (t[0] == '>' && t[1] == '=') return OP_GE;
      if (t[0] == '<' && t[1] == '=') return OP_LE;
      if (t[0] == '<' && t[1] == '>') return OP_NE;
      if (t[0] == 'o' && t[1] == 'r') return OP_OR;
      if (t[0] == 't' && t[1] == 'o') return OP_TO;
      return OP_NONE;
    case 3:
      if (std::memcmp(t, "mod", 3) == 0) return OP_MOD;
      if (std::memcmp(t, "and", 3) == 0) return OP_AND;
      return OP_NONE;
    case 4:
      if (std::memcmp(t, "then", 4) == 0) return OP_THEN;
      if (std::memcmp(t, "step", 4) == 0) return OP_STEP;
      if (std::memcmp(t, "else", 4) == 0) return OP_ELSE;
      return OP_NONE;
    default:
      return OP_NONE;
  }
}

void forget_line_tokens(const ProgramLine* line) {
  if (lexer.entry_line != line) return;
  lexer.entry = nullptr;
  lexer.entry_line = nullptr;
}

namespace {

// Reads from the text and computes the operator code; no cache.
void read_uncached(int statement_rows) { next_token_in(statement_rows); }

// Sets the lexer state from a cache entry, as reading the text would.
void load_cached(CachedToken& t, const char* base, ProgramLine* line) {
  lexer.token_start = lexer.cursor;
  lexer.token_kind = t.kind;
  if (t.text_length < CachedToken::inline_chars) {
    std::memcpy(lexer.token_text, t.inline_text, CachedToken::inline_chars);  // NUL included
  } else {
    std::memcpy(lexer.token_text, base + t.text_begin, t.text_length);
    lexer.token_text[t.text_length] = '\0';
  }
  lexer.token_length = t.text_length;
  // Only the fields the reader sets for this kind: the others keep what the
  // previous token left, as they do when the text is read.
  if (t.kind == TK_NUMBER)
    lexer.token_value = t.value;
  else if (t.kind == TK_STATEMENT || t.kind == TK_FUNCTION || t.kind == TK_LABEL)
    lexer.token_index = t.index;
  lexer.cursor = base + t.next;
  lexer.op = t.op;
  lexer.entry = &t;
  lexer.entry_line = line;
}

// Keeps the token just read from offset of the line text. A token that is
// not a plain run of the text is not kept: it is read afresh each time.
CachedToken* keep_token(ProgramLine* line, const char* base, std::size_t size, std::size_t offset) {
  LineTokens& cache = line->cache;
  // The token text is a run of bytes of the line: after the blanks, past the
  // opening quote of a string or the @ of a label.
  std::size_t begin = offset;
  while (begin < size && static_cast<unsigned char>(base[begin]) >= 1 && static_cast<unsigned char>(base[begin]) <= 32)
    ++begin;
  if (lexer.token_kind == TK_STRING || lexer.token_kind == TK_LABEL) ++begin;
  if (begin + lexer.token_length > size ||
      std::memcmp(base + begin, lexer.token_text, lexer.token_length) != 0)
    return nullptr;
  CachedToken& t = cache.tokens.emplace_back();
  t.kind = lexer.token_kind;
  t.index = lexer.token_index;
  t.value = lexer.token_value;
  t.text_begin = static_cast<std::uint32_t>(begin);
  t.text_length = static_cast<std::uint32_t>(lexer.token_length);
  t.next = static_cast<std::uint32_t>(lexer.cursor - base);
  t.op = static_cast<std::uint8_t>(lexer.op);
  if (t.text_length < CachedToken::inline_chars) std::memcpy(t.inline_text, lexer.token_text, t.text_length);
  cache.slot[offset] = &t;
  return &t;
}

// Reads at offset of the line text and keeps what was read. A notation error
// raises from the reader before anything is kept, so it raises again next time.
void read_and_keep(ProgramLine* line, const char* base, std::size_t size, std::size_t offset) {
  read_uncached(statement_count);
  if (CachedToken* t = keep_token(line, base, size, offset)) {
    lexer.entry = t;
    lexer.entry_line = line;
  }
}

}  // namespace

void next_token() {
  ProgramLine* line = execution.current_line.get();
  if (line && !reference_mode) {
    const char* base = line->text.data();
    std::size_t size = line->text.size();
    auto at = reinterpret_cast<std::uintptr_t>(lexer.cursor);
    auto from = reinterpret_cast<std::uintptr_t>(base);
    if (at >= from && at <= from + size) {
      std::size_t offset = at - from;
      LineTokens& cache = line->cache;
      if (cache.slot.empty()) cache.slot.assign(size + 1, nullptr);
      if (CachedToken* t = cache.slot[offset]) {
        load_cached(*t, base, line);
        return;
      }
      read_and_keep(line, base, size, offset);
      return;
    }
  }
  read_uncached(statement_count);
}

CachedToken* cached_token_at(ProgramLine& line, std::size_t offset) {
  std::size_t size = line.text.size();
  if (offset > size) return nullptr;
  LineTokens& cache = line.cache;
  if (cache.slot.empty()) cache.slot.assign(size + 1, nullptr);
  if (CachedToken* t = cache.slot[offset]) return t;
  LexerState saved = lexer;
  lexer.cursor = line.text.data() + offset;
  lexer.token_length = 0;
  lexer.token_text[0] = '\0';
  CachedToken* t = nullptr;
  if (!read_token(statement_count)) {
    lexer.op = operator_code(lexer.token_text, lexer.token_length);
    t = keep_token(&line, line.text.data(), size, offset);
  }
  lexer = saved;
  return t;
}

void expect_token(const char* text) {
  // The texts expected are short punctuation and words: compared byte by byte.
  const char* t = lexer.token_text;
  while (*text && *text == *t) ++text, ++t;
  if (*text || *t) raise_error(Message::syntax);
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
