// step_compiler.cpp — turns the cached tokens of one statement into a step.
// The parse follows the evaluator and the statement handlers token for token,
// so that a step consumes exactly what the interpreter would; whatever would
// raise an error when run (a type mismatch, a missing variable or label, a
// token out of place) is simply not compiled, and the interpreter meets it.
#include <algorithm>
#include <cstring>

#include "base/limits.h"
#include "machine/evaluator.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/machine.h"
#include "machine/steps.h"
#include "machine/token_cache.h"

namespace machine {
namespace {

constexpr int most_depth = limits::value_stack_entries / 2;

class Compiler {
 public:
  Compiler(ProgramLine& line, std::uint32_t offset, Step& step) : line_(line), step_(step), at_(offset) {
    token_ = line.cache.slot[offset];
  }

  bool statement();

 private:
  ProgramLine& line_;
  Step& step_;
  std::uint32_t at_;                      // where the current token was read from
  const CachedToken* token_ = nullptr;    // the current token, never null while parsing

  std::string_view text() const {
    return {line_.text.data() + token_->text_begin, token_->text_length};
  }
  bool advance() {
    at_ = token_->next;
    token_ = cached_token_at(line_, at_);
    return token_ != nullptr;
  }
  // Steps past the token whose text is that of op, as expect_token does.
  bool expect(int op) { return token_->op == op && advance(); }

  Node* node(NodeKind kind, int type) {
    Node& n = step_.nodes.emplace_back();
    n.kind = kind;
    n.type = static_cast<std::uint8_t>(type);
    return &n;
  }
  Node* binary(NodeKind kind, int type, const Node* a, const Node* b) {
    Node* n = node(kind, type);
    n->a = a;
    n->b = b;
    return n;
  }

  const Node* variable();
  const Node* function();
  const Node* operand();
  const Node* level_power();
  const Node* level_product();
  const Node* level_sum();
  const Node* level_compare();
  const Node* bit_level(int op, NodeKind kind, const Node* (Compiler::*below)());
  const Node* level_and();
  const Node* level_or();
  const Node* number_expression() {
    const Node* n = level_or();
    return n && n->type == number_type ? n : nullptr;
  }
  bool label(LabelUse& use);
  bool assignment();
  bool loop_start();
  bool branch();
  bool loop_end();
};

// Value stack entries used while a node is worked out, its result included.
int depth_of(const Node* n) {
  switch (n->kind) {
    case NodeKind::number:
    case NodeKind::text:
    case NodeKind::variable:
      return 1;
    case NodeKind::element: {
      int d = 1;
      for (const Node* s : n->subscripts) d = std::max(d, depth_of(s));
      return d;
    }
    case NodeKind::negate:
      return depth_of(n->a);
    case NodeKind::function: {
      int d = 1;
      const Node* args[] = {n->a, n->b, n->c};
      for (int i = 0; i < 3; ++i)
        if (args[i]) d = std::max(d, i + depth_of(args[i]));
      return d;
    }
    default:
      return std::max(depth_of(n->a), 1 + depth_of(n->b));
  }
}

// name [( subscript, ... )] — the variable must already exist.
const Node* Compiler::variable() {
  std::string_view name = text();
  Variable* v = find_variable(name);
  if (!v) return nullptr;
  int type = type_of_name(v->name);
  if (!advance()) return nullptr;
  Node* n = node(v->dimension_count == 0 ? NodeKind::variable : NodeKind::element, type);
  n->text = name;
  n->variable = v;
  n->dimension_count = v->dimension_count;
  step_.variables.push_back(n);
  if (v->dimension_count == 0) return n;
  if (!expect(OP_LPAREN)) return nullptr;
  for (int k = 0; k < v->dimension_count; ++k) {
    if (k > 0 && !expect(OP_COMMA)) return nullptr;
    const Node* s = number_expression();
    if (!s) return nullptr;
    n->subscripts.push_back(s);
  }
  if (!expect(OP_RPAREN)) return nullptr;
  return n;
}

// The functions that only compute (rnd also moves the generator, which a
// step that gives up puts back): their arguments' types and result type.
struct FunctionShape {
  int arguments;  // required
  bool optional;  // one more may follow
  std::uint8_t types[3];
  int result;
};

bool function_shape(int row, FunctionShape& shape) {
  constexpr std::uint8_t N = number_type, S = string_type;
  switch (static_cast<Function>(row)) {
    case Function::int_: case Function::abs: case Function::sqr: case Function::exp:
    case Function::log: case Function::sin: case Function::cos: case Function::tan:
    case Function::atn: case Function::rnd:
      shape = {1, false, {N, 0, 0}, number_type};
      return true;
    case Function::chr: case Function::str:
      shape = {1, false, {N, 0, 0}, string_type};
      return true;
    case Function::asc: case Function::val: case Function::len:
      shape = {1, false, {S, 0, 0}, number_type};
      return true;
    case Function::mid:
      shape = {2, true, {S, N, N}, string_type};
      return true;
    case Function::left: case Function::right:
      shape = {2, false, {S, N, 0}, string_type};
      return true;
    case Function::instr:
      shape = {2, true, {S, S, N}, number_type};
      return true;
    default:
      return false;  // input$, inkey$, eof, time$, date$, netstat: they read or wait
  }
}

// name ( expr [, expr [, expr]] ) as the function's handler parses it.
const Node* Compiler::function() {
  FunctionShape shape;
  int row = token_->index;
  if (!function_shape(row, shape)) return nullptr;
  Node* n = node(NodeKind::function, shape.result);
  n->code = static_cast<std::uint8_t>(row);
  if (static_cast<Function>(row) == Function::rnd) step_.draws = true;
  const Node** args[] = {&n->a, &n->b, &n->c};
  if (!advance() || !expect(OP_LPAREN)) return nullptr;
  int count = 0;
  for (; count < shape.arguments; ++count) {
    if (count > 0 && !expect(OP_COMMA)) return nullptr;
    if (!(*args[count] = level_or())) return nullptr;
  }
  if (shape.optional && token_->op == OP_COMMA) {
    if (!advance() || !(*args[count] = level_or())) return nullptr;
    ++count;
  }
  if (!expect(OP_RPAREN)) return nullptr;
  for (int i = 0; i < count; ++i)
    if ((*args[i])->type != shape.types[i]) return nullptr;
  return n;
}

// [+|-] ( number | string | ( expression ) | function | variable )
const Node* Compiler::operand() {
  char sign = 0;
  if (token_->kind != TK_STRING && (token_->op == OP_PLUS || token_->op == OP_MINUS)) {
    sign = token_->op == OP_PLUS ? '+' : '-';
    if (!advance()) return nullptr;
  }
  const Node* n = nullptr;
  switch (token_->kind) {
    case TK_PUNCT:
      if (token_->op != OP_LPAREN || !advance()) return nullptr;
      n = level_or();
      if (!n || !expect(OP_RPAREN)) return nullptr;
      break;
    case TK_NUMBER: {
      Node* k = node(NodeKind::number, number_type);
      k->number = token_->value;
      n = k;
      if (!advance()) return nullptr;
      break;
    }
    case TK_STRING: {
      Node* k = node(NodeKind::text, string_type);
      k->text = text();
      k->scratch.assign(k->text);
      n = k;
      if (!advance()) return nullptr;
      break;
    }
    case TK_FUNCTION:
      n = function();
      break;
    case TK_NAME:
      n = variable();
      break;
    default:
      return nullptr;
  }
  if (!n || !sign) return n;
  if (n->type != number_type) return nullptr;
  if (sign == '+') return n;
  Node* negated = node(NodeKind::negate, number_type);
  negated->a = n;
  return negated;
}

const Node* Compiler::level_power() {
  const Node* n = operand();
  if (!n || n->type == string_type) return n;
  while (token_->op == OP_CARET) {
    if (!advance()) return nullptr;
    const Node* right = operand();
    if (!right || right->type != number_type) return nullptr;
    n = binary(NodeKind::power, number_type, n, right);
  }
  return n;
}

const Node* Compiler::level_product() {
  const Node* n = level_power();
  if (!n || n->type == string_type) return n;
  for (;;) {
    NodeKind kind;
    if (token_->op == OP_STAR) kind = NodeKind::multiply;
    else if (token_->op == OP_SLASH) kind = NodeKind::divide;
    else if (token_->op == OP_MOD) kind = NodeKind::modulo;
    else return n;
    if (!advance()) return nullptr;
    const Node* right = level_power();
    if (!right || right->type != number_type) return nullptr;
    n = binary(kind, number_type, n, right);
  }
}

const Node* Compiler::level_sum() {
  const Node* n = level_product();
  if (!n) return nullptr;
  if (n->type == string_type) {
    while (token_->op == OP_PLUS) {
      if (!advance()) return nullptr;
      const Node* right = level_product();
      if (!right || right->type != string_type) return nullptr;
      n = binary(NodeKind::concatenate, string_type, n, right);
    }
    return n;
  }
  for (;;) {
    bool plus = token_->op == OP_PLUS;
    if (!plus && token_->op != OP_MINUS) return n;
    if (!advance()) return nullptr;
    const Node* right = level_product();
    if (!right || right->type != number_type) return nullptr;
    n = binary(plus ? NodeKind::add : NodeKind::subtract, number_type, n, right);
  }
}

const Node* Compiler::level_compare() {
  const Node* n = level_sum();
  if (!n) return nullptr;
  for (;;) {
    int code = comparison_code(token_->op);
    if (code < 0) return n;
    if (!advance()) return nullptr;
    const Node* right = level_sum();
    if (!right || right->type != n->type) return nullptr;
    Node* c = binary(right->type == string_type ? NodeKind::compare_texts : NodeKind::compare, number_type, n, right);
    c->code = static_cast<std::uint8_t>(code);
    n = c;
  }
}

// and / or: numbers on both sides, taken as 32-bit integers.
const Node* Compiler::bit_level(int op, NodeKind kind, const Node* (Compiler::*below)()) {
  const Node* n = (this->*below)();
  if (!n) return nullptr;
  while (token_->op == op) {
    if (n->type != number_type || !advance()) return nullptr;
    const Node* right = (this->*below)();
    if (!right || right->type != number_type) return nullptr;
    n = binary(kind, number_type, n, right);
  }
  return n;
}

const Node* Compiler::level_and() { return bit_level(OP_AND, NodeKind::bit_and, &Compiler::level_compare); }
const Node* Compiler::level_or() { return bit_level(OP_OR, NodeKind::bit_or, &Compiler::level_and); }

// A label token that names a line of the program now.
bool Compiler::label(LabelUse& use) {
  if (token_->kind != TK_LABEL) return false;
  use.used = true;
  use.name = text();
  use.hash = token_->index;
  use.line = find_label_slot(use.hash, use.name);
  return use.line != nullptr;
}

// name[(subscripts)] = expression, the current token being the name.
bool Compiler::assignment() {
  if (token_->kind != TK_NAME) return false;
  const Node* target = variable();
  if (!target || token_->op != OP_EQ || !advance()) return false;
  const Node* value = level_or();
  if (!value || value->type != target->type) return false;
  step_.kind = StepKind::assign;
  step_.target = target;
  step_.value = value;
  step_.after.offset = at_;
  int subscripts = 0;  // the target's subscripts are worked out with nothing else on the stack
  for (const Node* sub : target->subscripts) subscripts = std::max(subscripts, depth_of(sub));
  step_.depth = std::max(subscripts, depth_of(value));
  return true;
}

// for name = expression to expression [step expression]
bool Compiler::loop_start() {
  if (!advance() || !assignment()) return false;
  // The counter is a plain number variable; the interpreter raises otherwise.
  if (step_.target->kind != NodeKind::variable || step_.target->type != number_type) return false;
  if (token_->op != OP_TO || !advance()) return false;
  step_.limit = number_expression();
  if (!step_.limit) return false;
  int depth = depth_of(step_.limit);
  if (token_->op == OP_STEP) {
    if (!advance() || !(step_.increment = number_expression())) return false;
    depth = std::max(depth, depth_of(step_.increment));
  }
  step_.kind = StepKind::loop_start;
  step_.depth = std::max(step_.depth, depth);
  step_.after.offset = at_;  // also the resume point of the loop
  return true;
}

// if expression then @label|statements [else @label|statements]
bool Compiler::branch() {
  if (!advance()) return false;
  const Node* condition = number_expression();
  if (!condition || token_->op != OP_THEN) return false;
  step_.kind = StepKind::branch;
  step_.value = condition;
  step_.depth = depth_of(condition);
  const CachedToken* then_token = token_;
  std::uint32_t then_at = at_;
  if (!advance()) return false;
  if (token_->kind == TK_LABEL) {
    if (!label(step_.label)) return false;
    step_.after.label = &step_.label;
  } else {
    step_.after.offset = at_;
  }
  // The false branch reads on to the end of the line or to else.
  token_ = then_token;
  at_ = then_at;
  while (token_->kind != TK_END)
    if (!advance()) return false;
  if (token_->op != OP_ELSE) {
    step_.otherwise.offset = at_;
    return true;
  }
  if (!advance()) return false;
  if (token_->kind == TK_LABEL) {
    if (!label(step_.otherwise_label)) return false;
    step_.otherwise.label = &step_.otherwise_label;
  } else {
    step_.otherwise.offset = at_;
  }
  return true;
}

// next [name]
bool Compiler::loop_end() {
  if (!advance()) return false;
  if (token_->kind == TK_NAME) {
    step_.counter_name = text();
    step_.counter = find_variable(step_.counter_name);
    if (!step_.counter || !advance()) return false;
  }
  step_.kind = StepKind::loop_end;
  step_.after.offset = at_;
  return true;
}

bool Compiler::statement() {
  if (token_->kind == TK_NAME) return assignment();
  if (token_->kind != TK_STATEMENT) return false;
  switch (static_cast<Statement>(token_->index)) {
    case Statement::let:
      return advance() && assignment();
    case Statement::if_:
      return branch();
    case Statement::for_:
      return loop_start();
    case Statement::goto_:
      if (!advance() || !label(step_.label)) return false;
      step_.kind = StepKind::jump;
      step_.after.label = &step_.label;
      return true;
    case Statement::gosub:
      if (!advance() || !label(step_.label)) return false;
      step_.kind = StepKind::call;
      step_.after.label = &step_.label;
      step_.otherwise.offset = token_->next;  // the resume point: the cursor after the label
      return true;
    case Statement::return_:
      step_.kind = StepKind::come_back;
      return true;
    case Statement::next:
      return loop_end();
    default:
      return false;
  }
}

}  // namespace

bool compiles_ever(const CachedToken& t) {
  if (t.kind == TK_NAME) return true;
  if (t.kind != TK_STATEMENT) return false;
  switch (static_cast<Statement>(t.index)) {
    case Statement::let: case Statement::if_: case Statement::for_: case Statement::goto_: case Statement::gosub:
    case Statement::return_: case Statement::next:
      return true;
    default:
      return false;
  }
}

std::unique_ptr<Step> compile_step(ProgramLine& line, std::uint32_t offset) {
  auto step = std::make_unique<Step>();
  step->line = &line;
  step->start = offset;
  step->from_table = line.cache.slot[offset]->kind == TK_STATEMENT;
  step->variable_generation = state.variables.generation;
  step->program_generation = program.generation;
  Compiler compiler(line, offset, *step);
  if (!compiler.statement() || step->depth > most_depth) return nullptr;
  return step;
}

bool relink_step(Step& step) {
  for (Node* n : step.variables) {
    Variable* v = find_variable(n->text);
    if (!v || v->dimension_count != n->dimension_count) return false;
    n->variable = v;
  }
  if (!step.counter_name.empty()) {
    step.counter = find_variable(step.counter_name);
    if (!step.counter) return false;
  }
  for (LabelUse* use : {&step.label, &step.otherwise_label}) {
    if (!use->used) continue;
    use->line = find_label_slot(use->hash, use->name);
    if (!use->line) return false;
  }
  step.variable_generation = state.variables.generation;
  step.program_generation = program.generation;
  return true;
}

}  // namespace machine
