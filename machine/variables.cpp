// variables.cpp — the variable store and the statements let, dim and clear.
#include "machine/variables.h"

#include "machine/control_flow.h"
#include "machine/errors.h"
#include "machine/evaluator.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/machine.h"
#include "machine/memory_budget.h"
#include "machine/value_stack.h"

using base::Message;

namespace machine {
namespace {

auto& in_order = state.variables.in_order;
auto& by_name = state.variables.by_name;

std::int32_t subscript() {
  evaluate();
  return to_int32(get_number());
}

}  // namespace

int type_of_name(std::string_view name) {
  return !name.empty() && name.back() == '$' ? string_type : number_type;
}

VariablePtr find_variable_shared(std::string_view name) {
  auto it = by_name.find(name);
  return it == by_name.end() ? nullptr : it->second;
}

Variable* find_variable(std::string_view name) {
  auto it = by_name.find(name);
  return it == by_name.end() ? nullptr : it->second.get();
}

VariablePtr get_variable_shared(std::string_view name, bool must_exist) {
  if (VariablePtr v = find_variable_shared(name)) return v;
  if (must_exist) raise_error(Message::variable_not_found);
  auto v = std::make_shared<Variable>();
  v->name.assign(name);
  v->type = type_of_name(name);
  in_order.push_back(v);
  by_name.emplace(v->name, v);
  return v;
}

Variable& get_variable(std::string_view name, bool must_exist) {
  if (Variable* v = find_variable(name)) return *v;
  return *get_variable_shared(name, must_exist);
}

namespace {

// The variable of the current name token as get_variable finds or makes it,
// remembered in the token's cache entry.
Variable& token_variable(bool must_exist) {
  CachedToken* entry = lexer.entry;
  if (entry && entry->variable_generation == state.variables.generation) return *entry->variable;
  Variable& v = get_variable(lexer.text(), must_exist);
  if (entry) {
    entry->variable = &v;
    entry->variable_generation = state.variables.generation;
  }
  return v;
}

}  // namespace

Variable* find_token_variable() {
  CachedToken* entry = lexer.entry;
  if (entry && entry->variable_generation == state.variables.generation) return entry->variable;
  Variable* v = find_variable(lexer.text());
  if (v && entry) {
    entry->variable = v;
    entry->variable_generation = state.variables.generation;
  }
  return v;
}

ValueCell variable_slot(bool must_exist) {
  Variable& v = token_variable(must_exist);
  int type = type_of_name(v.name);
  next_token();
  if (v.dimension_count == 0)
    return type == string_type ? ValueCell{type, nullptr, &v.text} : ValueCell{type, &v.number, nullptr};
  expect_token("(");
  std::size_t offset = 0;
  for (int k = 0; k < v.dimension_count; ++k) {
    if (k > 0) expect_token(",");
    std::int32_t i = subscript();
    if (i < 0 || i >= v.extents[k]) raise_error(Message::array_overflow);
    offset = offset * static_cast<std::size_t>(v.extents[k]) + static_cast<std::size_t>(i);
  }
  expect_token(")");
  if (type == string_type) {
    if (offset >= v.texts.size()) raise_error(Message::array_overflow);
    return {type, nullptr, &v.texts[offset]};
  }
  if (offset >= v.numbers.size()) raise_error(Message::array_overflow);
  return {type, &v.numbers[offset], nullptr};
}

namespace {
// The bytes of an array's elements and of the texts they hold.
std::size_t element_bytes(const Variable& v) {
  std::size_t bytes = v.numbers.capacity() * sizeof(double) + v.texts.capacity() * sizeof(std::string);
  for (const std::string& t : v.texts) bytes += text_bytes(t);
  return bytes;
}
}  // namespace

void free_variables() {
  state.variables.generation = fresh_generation();
  by_name.clear();
  in_order.clear();
}

const std::vector<VariablePtr>& all_variables() { return in_order; }

void shape_array(Variable& v, int dimension_count, const std::int32_t* extents) {
  std::size_t total = 1;
  for (int k = 0; k < dimension_count; ++k) {
    total *= static_cast<std::size_t>(extents[k]);
    if (total > limits::array_elements) raise_out_of_memory();
  }
  bool texts = type_of_name(v.name) == string_type;
  // Charged before anything changes: a refusal leaves the variable as it was.
  charge_memory(total * (texts ? sizeof(std::string) : sizeof(double)));
  refund_memory(element_bytes(v));
  // A shape remembered by a compiled statement is no longer to be trusted.
  state.variables.generation = fresh_generation();
  v.dimension_count = dimension_count;
  v.extents.fill(0);
  for (int k = 0; k < dimension_count; ++k) v.extents[k] = extents[k];
  v.numbers = {};
  v.texts = {};
  if (texts)
    v.texts = std::vector<std::string>(total);
  else
    v.numbers = std::vector<double>(total, 0.0);
}

Variable::~Variable() { refund_memory(element_bytes(*this) + text_bytes(text)); }

void store_value(const ValueCell& cell) {
  if (cell.type == string_type) {
    assign_text(*cell.text, top_string());
    drop_value();
  } else {
    *cell.number = get_number();
  }
}

void clear_all() {
  clear_value();
  free_variables();
  empty_for_stack();
}

// [let] name[(subscripts)] = expression
int let_statement() {
  if (lexer.token_kind != TK_NAME) return go_on;
  ValueCell cell = variable_slot(false);
  if (lexer.op != OP_EQ) raise_error(Message::syntax);
  next_token();
  evaluate();
  if (value_type() != cell.type) raise_error(Message::type_mismatch);
  store_value(cell);
  return go_on;
}

// dim name(b1, b2, ...) [, name(...)]...
int dim_statement() {
  for (;;) {
    if (lexer.token_kind != TK_NAME) raise_error(Message::syntax);
    std::string name(lexer.text());
    next_token();
    expect_token("(");
    std::int32_t extents[limits::array_dimensions];
    int count = 0;
    for (;;) {
      clear_value();
      if (count == limits::array_dimensions) raise_error(Message::too_many_dimensions);
      std::int32_t b = subscript();
      if (b < 1) raise_error(Message::out_of_range);
      // b + 1 elements; the largest bound would overflow, and is refused by size anyway.
      extents[count++] = b == 2147483647 ? b : b + 1;
      if (lexer.is(")")) break;
      expect_token(",");
    }
    if (find_variable(name)) raise_error(Message::array_exists);
    Variable& v = get_variable(name, false);
    shape_array(v, count, extents);
    next_token();  // past ')'
    if (!lexer.is(",")) return go_on;
    next_token();
  }
}

// clear
int clear_statement() {
  clear_all();
  return go_on;
}

}  // namespace machine
