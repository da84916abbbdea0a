// print_input.h — print (also ?) and input, on the console and on channels.
#pragma once

namespace core {

int print_statement();  // print [#n,] [item {, | ; item}] [, | ;]
int input_statement();  // input [prompts] var {sep [prompts] var} | input #n, var {sep var}

}  // namespace core
