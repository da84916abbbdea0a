// program_commands.h — statements that act on the program as a whole.
#pragma once
#include <string_view>

namespace statements {

// Reads a program file (Shift-JIS name). Loud: a file that cannot be opened
// raises "ロード失敗しました"; quiet: it leaves the program unchanged.
void load_program_file(std::string_view name, bool loud);

// The work of new: program, variables and resume point cleared.
void new_program();

int new_statement();     // new
int end_statement();     // end
int bye_statement();     // bye
int stop_statement();    // stop
int cont_statement();    // cont
int run_statement();     // run
int list_statement();    // list [from] [,|-] [to]
int load_statement();    // load "file"
int save_statement();    // save "file"
int edit_statement();    // edit

}  // namespace statements
