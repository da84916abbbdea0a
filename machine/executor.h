// executor.h — runs lines statement by statement.
#pragma once

#include "machine/program_store.h"

namespace machine {

// Runs a line from its first statement; returns the stopping handler's result
// or 2 after the last line.
int execute_line(LinePtr line);
// Runs from a position in a line, starting with the token the lexer holds.
int execute_from(LinePtr line, const char* position);

// Makes line current and reads its first token (a jump).
void jump_to(LinePtr line, const char* position);
// The same for a line held elsewhere; a jump within the current line changes no owner.
void jump_to_line(const LinePtr& line, const char* position);

}  // namespace machine
