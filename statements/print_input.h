// print_input.h — print (also ?) and input, on the console and on channels.
#pragma once

namespace statements {

int print_statement();  // print [#n,] [item {, | ; item}] [, | ;]
int input_statement();  // input [prompts] var {sep [prompts] var} | input #n, var {sep var}

}  // namespace statements
