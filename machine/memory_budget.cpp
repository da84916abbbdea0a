// memory_budget.cpp — the running total and its limit.
#include "machine/memory_budget.h"

#include <algorithm>

#include "machine/errors.h"
#include "machine/machine.h"

namespace machine {
namespace {
std::size_t& budget = state.memory_budget;
std::size_t& in_use = state.memory_in_use;
}  // namespace

void set_memory_budget(std::size_t bytes) { budget = bytes; }
std::size_t memory_budget() { return budget; }
std::size_t memory_in_use() { return in_use; }

void charge_memory(std::size_t bytes) {
  if (bytes > budget || in_use > budget - bytes) raise_out_of_memory();
  in_use += bytes;
}

void refund_memory(std::size_t bytes) { in_use = bytes > in_use ? 0 : in_use - bytes; }

std::size_t text_bytes(const std::string& text) {
  static const std::size_t inline_capacity = std::string().capacity();
  return text.capacity() > inline_capacity ? text.capacity() + 1 : 0;
}

namespace {
// Counts the change of a cell's heap bytes from before to what it holds now.
void count_change(std::size_t before, const std::string& cell) {
  std::size_t after = text_bytes(cell);
  if (after > before) charge_memory(after - before);
  else refund_memory(before - after);
}
}  // namespace

void assign_text(std::string& cell, std::string_view value) {
  std::size_t before = text_bytes(cell);
  cell.assign(value);
  count_change(before, cell);
}

void append_text(std::string& cell, std::string_view more) {
  std::size_t before = text_bytes(cell);
  cell.append(more);
  count_change(before, cell);
}

void store_text(std::string& cell, std::string&& value) {
  // Charged first, so that a refusal leaves the cell as it was; settled to
  // what the cell holds afterwards (a short text may land in the old buffer).
  std::size_t before = text_bytes(cell), incoming = text_bytes(value);
  std::size_t charged = std::max(before, incoming);
  charge_memory(charged - before);
  cell = std::move(value);
  std::size_t after = text_bytes(cell);
  if (after < charged) refund_memory(charged - after);
  else charge_memory(after - charged);
}

}  // namespace machine
