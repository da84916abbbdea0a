// variables.h — named cells in creation order, and let, dim and clear.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/limits.h"
#include "machine/token_cache.h"
#include "machine/value_stack.h"

namespace machine {

struct Variable : std::enable_shared_from_this<Variable> {
  std::string name;        // as written, with a trailing '$' for strings
  int dimension_count = 0;  // 0 plain, 1..16 array
  std::array<std::int32_t, limits::array_dimensions> extents{};  // bound + 1 each
  int type = number_type;   // or string_type; the translator marks its loop counters
  double number = 0;
  std::string text;
  std::vector<double> numbers;      // elements of a number array, row-major
  std::vector<std::string> texts;   // elements of a string array

  Variable() = default;
  ~Variable();  // gives its elements and texts back to the memory budget
  Variable(const Variable&) = delete;
  Variable& operator=(const Variable&) = delete;
};
// Shared so that a for entry keeps its variable valid after the store is freed.
using VariablePtr = std::shared_ptr<Variable>;

struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Creation order, plus an index by name so that lookup does not walk the list.
struct VariableStore {
  std::vector<VariablePtr> in_order;
  std::unordered_map<std::string, VariablePtr, NameHash, std::equal_to<>> by_name;
  // Changes whenever variables are freed or an array is shaped: a remembered
  // variable or shape of an older generation is not trusted.
  std::uint64_t generation = fresh_generation();
};

// The address of one value cell: exactly one of number and text is set.
struct ValueCell {
  int type = number_type;
  double* number = nullptr;
  std::string* text = nullptr;
};

int type_of_name(std::string_view name);
Variable* find_variable(std::string_view name);
// The variable named by the current name token, or nullptr: found through the
// token's cache entry when it remembers one.
Variable* find_token_variable();
VariablePtr find_variable_shared(std::string_view name);
// Finds or (unless must_exist, which raises "変数が見つかりません") creates a plain variable.
Variable& get_variable(std::string_view name, bool must_exist);
VariablePtr get_variable_shared(std::string_view name, bool must_exist);
// Parses a variable reference at the current token (the name) with its
// subscripts, and returns its cell.
ValueCell variable_slot(bool must_exist);
void free_variables();
// All variables in creation order.
const std::vector<VariablePtr>& all_variables();

// Gives a variable the dimensions and fresh elements (zero or empty).
void shape_array(Variable& v, int dimension_count, const std::int32_t* extents);

// Stores the value on top of the stack into a cell (type already checked).
void store_value(const ValueCell& cell);

// The work of clear: value stack, variables and for stack.
void clear_all();

int let_statement();    // [let] name[(subscripts)] = expression
int dim_statement();    // dim name(b1, ...) [, name(...)]...
int clear_statement();  // clear

}  // namespace machine
