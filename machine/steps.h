// steps.h — statements compiled from a line's cached tokens, run without the
// reader. A step does exactly what the interpreter would do with the same
// tokens; anything unusual (an error about to be raised, a variable freed, an
// array reshaped) makes it give up before it has changed anything, and the
// interpreter then runs the statement from its first token.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "machine/program_store.h"
#include "machine/variables.h"

namespace machine {

enum class NodeKind : std::uint8_t {
  number, text,               // literals
  variable, element,          // a plain variable, an array element
  negate,
  add, subtract, multiply, divide, modulo, power,
  compare, compare_texts,     // code: 0 >=, 1 >, 2 <=, 3 <, 4 <>, 5 =
  bit_and, bit_or,
  concatenate,
  function,                   // code: the function row
};

// One node of a compiled expression. Its type is known when it is compiled.
struct Node {
  NodeKind kind = NodeKind::number;
  std::uint8_t type = number_type;
  std::uint8_t code = 0;
  double number = 0;
  std::string_view text;        // a literal's bytes, or a variable's name (in the line text)
  Variable* variable = nullptr;
  int dimension_count = 0;      // an element's subscripts, as the array had when compiled
  const Node* a = nullptr;      // operands and arguments, in order
  const Node* b = nullptr;
  const Node* c = nullptr;
  std::vector<const Node*> subscripts;
  mutable std::string scratch;  // where a string result is built (keeps its storage)
};

enum class StepKind : std::uint8_t {
  assign,     // [let] target = expression
  loop_start, // for name = expression to expression [step expression]
  branch,     // if expression then ... [else ...]
  jump,       // goto @label
  call,       // gosub @label
  come_back,  // return
  loop_end,   // next [name]
  line_end,   // the end of a line: on to the next one
};

// A label named by a step, found in the label index while the program stays the same.
struct LabelUse {
  bool used = false;
  std::string_view name;
  std::int32_t hash = 0;
  const LinePtr* line = nullptr;
};

// Where execution goes on: the cursor offset of the next token to read in the
// step's line, or a label to jump to; and, once known, the step that runs
// from there and its line, trusted while the program stays the same.
struct Continuation {
  std::uint32_t offset = 0;
  const LabelUse* label = nullptr;
  Step* step = nullptr;
  ProgramLine* line = nullptr;
  std::uint64_t generation = 0;
};

struct Step {
  StepKind kind = StepKind::line_end;
  ProgramLine* line = nullptr;
  std::uint32_t start = 0;      // cursor offset of the statement's first token
  bool from_table = false;      // the interpreter would run it through the statement table
  bool draws = false;           // it calls rnd, which moves the random generator
  std::uint64_t variable_generation = 0;
  std::uint64_t program_generation = 0;
  int depth = 0;                // value stack entries the interpreter would use
  const Node* target = nullptr;
  const Node* value = nullptr;  // or the condition of if, the first value of for
  const Node* limit = nullptr;  // for: the limit and the step, if written
  const Node* increment = nullptr;
  Continuation after;           // where the statement ends (if: its then part; goto, gosub: the label)
  Continuation otherwise;       // if: where the false branch goes on
  // next: the step its for entry's position led to last time, with that position
  const ProgramLine* loop_line = nullptr;
  const char* loop_resume = nullptr;
  Continuation loop;
  LabelUse label;               // goto, gosub, and labels after then / else
  LabelUse otherwise_label;
  Variable* counter = nullptr;  // next name: the variable it names (nullptr: no name)
  std::string_view counter_name;
  std::deque<Node> nodes;       // every node of the step; addresses stay put
  std::vector<Node*> variables;  // the nodes naming variables, to find them again
};

// True when a statement beginning with t can ever compile.
bool compiles_ever(const CachedToken& t);

// Compiles the statement whose first token was read from offset of line;
// nullptr when it does not compile (yet: a variable may still be missing).
std::unique_ptr<Step> compile_step(ProgramLine& line, std::uint32_t offset);

// Finds the variables and labels of a step again after variables were freed
// or the program changed; false when one is missing or has another shape.
bool relink_step(Step& step);

// When set, asked before a step that stands for a statement of the statement
// table runs; false makes the interpreter run that statement through the
// table instead. (The fuzz targets count statements with it.)
extern bool (*table_statement_check)();

// Runs steps from the statement at the current token while there are steps,
// then leaves the lexer and the execution state as the interpreter would have
// them there. False when nothing could run (the interpreter goes on as usual);
// `interpret` is set when the statement at the current token must be run by
// the interpreter next.
bool run_steps(bool& interpret);

}  // namespace machine
