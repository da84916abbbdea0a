// token_cache.h — what the interpreter's reader found at each byte position of
// a stored line, kept with the line. A line text never changes once stored,
// so the token read from a position is always the same; what a token refers
// to (a variable, a label's line) is kept with a generation and trusted only
// while the generation is the machine's current one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace machine {

struct ProgramLine;
struct Variable;
struct Step;
using LinePtr = std::shared_ptr<ProgramLine>;

// Operator codes, computed from a token's text whatever its kind: keywords and
// operators are matched by text ("+" written as a string still adds).
enum OperatorCode : std::uint8_t {
  OP_NONE,
  OP_PLUS, OP_MINUS, OP_STAR, OP_SLASH, OP_CARET, OP_MOD,
  OP_GE, OP_GT, OP_LE, OP_LT, OP_NE, OP_EQ,
  OP_AND, OP_OR,
  OP_LPAREN, OP_RPAREN, OP_COMMA, OP_COLON,
  OP_THEN, OP_TO, OP_STEP, OP_ELSE,
};

struct CachedToken {
  int kind = 0;
  std::int32_t index = 0;
  double value = 0;
  std::uint32_t text_begin = 0;   // the token text is these bytes of the line text
  std::uint32_t text_length = 0;
  std::uint32_t next = 0;         // the cursor after the token
  std::uint8_t op = OP_NONE;
  // The text itself when short (NUL-padded), copied in one move.
  static constexpr std::size_t inline_chars = 16;
  char inline_text[inline_chars] = {};
  // A name token's variable, valid while variable_generation is current.
  std::uint64_t variable_generation = 0;
  Variable* variable = nullptr;
  // A label token's line (a slot of the label index), valid while label_generation is current.
  std::uint64_t label_generation = 0;
  const LinePtr* label = nullptr;
  // The compiled step that runs when execution is at this token (for a
  // separator or a label: the one after it), once there is one.
  Step* step = nullptr;
  // Times the interpreter met this statement, and when to try compiling it
  // next (each failure doubles the wait; never_again: it cannot compile).
  std::uint32_t visits = 0;
  std::uint32_t next_try = 2;
  static constexpr std::uint32_t never_again = 0xFFFFFFFF;
};

// The cache of one line: the token read from each byte position (nullptr =
// not read yet); the tokens sit in a deque so that their addresses stay put.
struct LineTokens {
  std::vector<CachedToken*> slot;
  std::deque<CachedToken> tokens;
  std::vector<std::unique_ptr<Step>> steps;  // owned here; freed only with the line
};

// A fresh value for a generation counter, never handed out before in this process.
std::uint64_t fresh_generation();

}  // namespace machine
