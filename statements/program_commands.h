// program_commands.h — statements that act on the program as a whole.
#pragma once
#include <optional>
#include <string_view>

#include "statements/program_file.h"

namespace statements {

// Reads a program file (Shift-JIS name). Loud: a file that cannot be opened
// raises "ロード失敗しました"; quiet: it leaves the program unchanged.
// The file's encoding is detected unless --encoding forced one, or unless
// encoding names it.
void load_program_file(std::string_view name, bool loud);
void load_program_file(std::string_view name, bool loud, std::optional<ProgramEncoding> encoding);
// The program from a file's bytes already read (the start-up file, stdin);
// shown_name (UTF-8) names it in the note on characters Shift-JIS lacks.
void load_program_text(std::string_view bytes, std::string_view shown_name);

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
