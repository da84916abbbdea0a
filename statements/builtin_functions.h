// builtin_functions.h — the numeric and string functions. Each is entered
// with its name current, reads its own arguments and pushes one result.
#pragma once

namespace statements {

void int_function();
void abs_function();
void sqr_function();
void exp_function();
void log_function();
void sin_function();
void cos_function();
void tan_function();
void atn_function();
void chr_function();
void asc_function();
void mid_function();
void left_function();
void right_function();
void inkey_function();
void str_function();
void val_function();
void len_function();
void time_function();
void date_function();
void instr_function();
void rnd_function();

}  // namespace statements
