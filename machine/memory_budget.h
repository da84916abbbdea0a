// memory_budget.h — the bytes a program's arrays, strings and lines may take,
// counted against one total; going past it is the system's out-of-memory path
// (the fatal system error), long before the host would start to thrash.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace machine {

// The budget when nothing else is said: 1 GiB.
inline constexpr std::size_t default_memory_budget = std::size_t{1} << 30;

void set_memory_budget(std::size_t bytes);
std::size_t memory_budget();
// Bytes charged now.
std::size_t memory_in_use();

// Counts bytes against the budget; past it raises the out-of-memory error
// (nothing is counted then).
void charge_memory(std::size_t bytes);
void refund_memory(std::size_t bytes);

// The heap bytes a string's text takes beyond the string itself.
std::size_t text_bytes(const std::string& text);

// Copies value into a string cell's own storage, counting the change in its
// heap bytes: what a cell holds and counts depends only on the values it was
// given, not on where they were built. Past the budget the system ends; the
// cell then holds the value already.
void assign_text(std::string& cell, std::string_view value);

// Adds more at the end of a string cell, counting the change in its heap bytes.
void append_text(std::string& cell, std::string_view more);

// Stores value into a string cell, counting the change in its heap bytes.
void store_text(std::string& cell, std::string&& value);

}  // namespace machine
