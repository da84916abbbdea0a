// control_flow.h — goto, gosub, return, for, next, if, and their two stacks.
#pragma once
#include <cstddef>

namespace machine {

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
