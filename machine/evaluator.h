// evaluator.h — expressions, evaluated as they are parsed.
#pragma once

namespace machine {

// Parses and evaluates the longest expression at the current token and pushes
// exactly one value (or nothing, when an operand is missing).
void evaluate();

// Evaluates one expression after emptying the stack and pops it as a number.
double evaluate_number();
// As evaluate_number, truncated to a 32-bit integer.
int evaluate_integer();

}  // namespace machine
