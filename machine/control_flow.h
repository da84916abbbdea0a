// control_flow.h — goto, gosub, return, for, next, if, and their two stacks.
#pragma once
#include <array>
#include <cstddef>

#include "base/limits.h"
#include "machine/program_store.h"
#include "machine/variables.h"

namespace machine {

struct ForEntry {
  VariablePtr variable;
  double limit = 0;
  double step = 0;
  LinePtr line;
  const char* resume = "";
};

struct GosubEntry {
  LinePtr line;
  const char* resume = "";
};

// Entries hold their lines: a position stays valid after its line is replaced.
struct ControlStacks {
  std::array<ForEntry, limits::for_entries> for_stack;
  std::size_t for_top = 0;
  std::array<GosubEntry, limits::gosub_entries> gosub_stack;
  std::size_t gosub_top = 0;
};

void empty_for_stack();
void empty_gosub_stack();
std::size_t for_depth();
std::size_t gosub_depth();

int goto_statement();    // goto @label
int gosub_statement();   // gosub @label
int return_statement();  // return
int for_statement();     // for name = expr to expr [step expr]
int next_statement();    // next [name]
int if_statement();      // if expr then @label|statements [else @label|statements]

}  // namespace machine
