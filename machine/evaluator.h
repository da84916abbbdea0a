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

// The comparisons compare a difference (left - right, or strcmp's) with 0.
// Their codes: 0 >=, 1 >, 2 <=, 3 <, 4 <>, 5 =; -1 for any other operator.
int comparison_code(int op);
inline bool compare_difference(int code, double d) {
  switch (code) {
    case 0: return d >= 0;
    case 1: return d > 0;
    case 2: return d <= 0;
    case 3: return d < 0;
    case 4: return d != 0;
    default: return d == 0;
  }
}

}  // namespace machine
