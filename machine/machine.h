// machine.h — the interpreter's whole state in one place: the program and the
// execution position, the lexer, the value stack, the variables, the control
// stacks, the channel table and the random generator. There is one machine;
// the modules keep short names (lexer, execution, ...) that refer into it.
#pragma once
#include <cstdint>

#include "base/limits.h"
#include "machine/channel_table.h"
#include "machine/control_flow.h"
#include "machine/lexer.h"
#include "machine/memory_budget.h"
#include "machine/program_store.h"
#include "machine/value_stack.h"
#include "machine/variables.h"

namespace machine {

struct Machine {
  ProgramStore program;
  ExecutionState execution;
  LexerState lexer;
  ValueStack values;
  VariableStore variables;
  ControlStacks control;
  Channel channels[limits::channel_count];
  std::int32_t network_status = 0;  // what netstat answers
  std::uint32_t random_state = 1;   // rnd's generator
  int fatal_flag = 0;               // memory ran out: the command loop ends the system
  // Last, so that what the members above give back on a reset by assignment
  // is refunded before the count starts again.
  std::size_t memory_budget = default_memory_budget;
  std::size_t memory_in_use = 0;
};

extern Machine state;

}  // namespace machine
