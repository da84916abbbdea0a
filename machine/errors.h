// errors.h — the one error path: report, then unwind to the command loop.
#pragma once

#include "base/messages.h"

namespace machine {

// Errors are raised with a message of the catalogue.
using base::Message;

// Thrown by raise_error after the message has been printed; only the command
// loop catches it. It carries nothing: all state lives in process-wide structs.
struct BasicError {};

// Set when memory ran out; the command loop then ends the system.
extern int& fatal_flag;

// Prints the message (with "Line N : " while a program line runs), clears the
// value stack and the translation state, and unwinds to the command loop.
[[noreturn]] void raise_error(Message message);

// The reporting half of raise_error, for the command loop when memory ran out.
void report_error(Message message);

// Memory could not be had: sets the fatal flag and raises the system error.
[[noreturn]] void raise_out_of_memory();

// Raises "数式が不正です" unless the value stack is empty.
void expect_empty_stack();

}  // namespace machine
