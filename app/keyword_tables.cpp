// keyword_tables.cpp — the interpreter's statement and function tables.
#include "machine/keywords.h"

#include <string_view>

#include "machine/control_flow.h"
#include "machine/variables.h"
#include "statements/builtin_functions.h"
#include "statements/file_channels.h"
#include "statements/graphics.h"
#include "statements/print_input.h"
#include "statements/program_commands.h"
#include "statements/system_services.h"
#include "translator/make.h"

// The tables are the ones the executor and the evaluator dispatch through.
namespace machine {

constexpr machine::StatementRow statement_table[machine::statement_count] = {
    {"if", machine::if_statement},
    {"for", machine::for_statement},
    {"next", machine::next_statement},
    {"goto", machine::goto_statement},
    {"gosub", machine::gosub_statement},
    {"return", machine::return_statement},
    {"print", statements::print_statement},
    {"input", statements::input_statement},
    {"clear", machine::clear_statement},
    {"pset", statements::pset_statement},
    {"cls", statements::cls_statement},
    {"line", statements::line_statement},
    {"locate", statements::locate_statement},
    {"dim", machine::dim_statement},
    {"open", statements::open_statement},
    {"close", statements::close_statement},
    {"box", statements::box_statement},
    {"boxf", statements::boxf_statement},
    {"circle", statements::circle_statement},
    {"circlef", statements::circlef_statement},
    {"start", statements::start_statement},
    {"exec", statements::exec_statement},
    {"wait", statements::wait_statement},
    {"image", statements::image_statement},
    {"?", statements::print_statement},
    {"save", statements::save_statement},
    {"edit", statements::edit_statement},
    {"load", statements::load_statement},
    {"new", statements::new_statement},
    {"regist", statements::regist_statement},
    {"let", machine::let_statement},
    {"end", statements::end_statement},
    {"list", statements::list_statement},
    {"run", statements::run_statement},
    {"bye", statements::bye_statement},
    {"stop", statements::stop_statement},
    {"cont", statements::cont_statement},
    {"make", translator::make_statement},
};

constexpr machine::FunctionRow function_table[machine::function_count] = {
    {"int", statements::int_function},
    {"abs", statements::abs_function},
    {"sqr", statements::sqr_function},
    {"exp", statements::exp_function},
    {"log", statements::log_function},
    {"sin", statements::sin_function},
    {"cos", statements::cos_function},
    {"tan", statements::tan_function},
    {"atn", statements::atn_function},
    {"chr$", statements::chr_function},
    {"asc", statements::asc_function},
    {"mid$", statements::mid_function},
    {"left$", statements::left_function},
    {"right$", statements::right_function},
    {"input$", statements::input_function},
    {"inkey$", statements::inkey_function},
    {"eof", statements::eof_function},
    {"str$", statements::str_function},
    {"val", statements::val_function},
    {"len", statements::len_function},
    {"time$", statements::time_function},
    {"date$", statements::date_function},
    {"instr", statements::instr_function},
    {"rnd", statements::rnd_function},
    {"netstat", statements::netstat_function},
};

static_assert(rows_follow_keywords(statement_table, function_table));

}  // namespace machine
