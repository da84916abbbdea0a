// program_commands.h — statements that act on the program as a whole.
#pragma once

namespace front {

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

}  // namespace front
