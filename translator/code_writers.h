// code_writers.h — the pieces of pass 2 that write target code: expressions,
// variables, function calls and the statement handlers.
#pragma once
#include <string>

#include "machine/keywords.h"

namespace translator {

// Writes the code that leaves the expression's value on the target's stack.
void translate_expression();
// A variable or array element read in an expression (the name is current).
void translate_value();
// The address of an assignment or input target (the name is current).
void translate_address();

// The name as the target writes it: a string variable's `$` becomes `_`.
std::string target_name(const std::string& name);

// One handler per built-in function, in the function table's order.
extern const machine::FunctionRow function_translators[machine::function_count];
// One handler per statement keyword, in the statement table's order.
extern const machine::StatementRow statement_translators[machine::statement_count];

// Pass-2 statement handlers, each entered after its keyword.
int assign_translation();
int goto_translation();
int gosub_translation();
int end_translation();
int for_translation();
int next_translation();
int if_translation();
int print_translation();
int input_translation();
int clear_translation();
int cls_translation();
int dim_translation();
int stop_translation();
int refused_translation();
int open_translation();
int close_translation();
int locate_translation();
int wait_translation();
int pset_translation();
int line_translation();
int box_translation();
int boxf_translation();
int circle_translation();
int circlef_translation();
int image_translation();
int start_translation();
int exec_translation();
int regist_translation();

}  // namespace translator
