// keyword_tables.cpp — the interpreter's statement and function tables.
#include "machine/keywords.h"

#include <string_view>

#include "statements/file_channels.h"
#include "statements/builtin_functions.h"
#include "machine/control_flow.h"
#include "statements/print_input.h"
#include "machine/variables.h"
#include "statements/program_commands.h"
#include "statements/graphics.h"
#include "statements/system_services.h"
#include "translator/make.h"

namespace front {

constexpr StatementRow statement_table[statement_count] = {
    {"if", core::if_statement},
    {"for", core::for_statement},
    {"next", core::next_statement},
    {"goto", core::goto_statement},
    {"gosub", core::gosub_statement},
    {"return", core::return_statement},
    {"print", core::print_statement},
    {"input", core::input_statement},
    {"clear", core::clear_statement},
    {"pset", services::pset_statement},
    {"cls", services::cls_statement},
    {"line", services::line_statement},
    {"locate", services::locate_statement},
    {"dim", core::dim_statement},
    {"open", channels::open_statement},
    {"close", channels::close_statement},
    {"box", services::box_statement},
    {"boxf", services::boxf_statement},
    {"circle", services::circle_statement},
    {"circlef", services::circlef_statement},
    {"start", services::start_statement},
    {"exec", services::exec_statement},
    {"wait", services::wait_statement},
    {"image", services::image_statement},
    {"?", core::print_statement},
    {"save", save_statement},
    {"edit", edit_statement},
    {"load", load_statement},
    {"new", new_statement},
    {"regist", services::regist_statement},
    {"let", core::let_statement},
    {"end", end_statement},
    {"list", list_statement},
    {"run", run_statement},
    {"bye", bye_statement},
    {"stop", stop_statement},
    {"cont", cont_statement},
    {"make", translator::make_statement},
};

constexpr FunctionRow function_table[function_count] = {
    {"int", core::int_function},
    {"abs", core::abs_function},
    {"sqr", core::sqr_function},
    {"exp", core::exp_function},
    {"log", core::log_function},
    {"sin", core::sin_function},
    {"cos", core::cos_function},
    {"tan", core::tan_function},
    {"atn", core::atn_function},
    {"chr$", core::chr_function},
    {"asc", core::asc_function},
    {"mid$", core::mid_function},
    {"left$", core::left_function},
    {"right$", core::right_function},
    {"input$", channels::input_function},
    {"inkey$", core::inkey_function},
    {"eof", channels::eof_function},
    {"str$", core::str_function},
    {"val", core::val_function},
    {"len", core::len_function},
    {"time$", core::time_function},
    {"date$", core::date_function},
    {"instr", core::instr_function},
    {"rnd", core::rnd_function},
    {"netstat", channels::netstat_function},
};

// The rows must stand in the order of the keyword lists the lexer searches.
constexpr bool rows_in_order() {
  for (int i = 0; i < statement_count; ++i)
    if (std::string_view(statement_table[i].keyword) != statement_keywords[i]) return false;
  for (int i = 0; i < function_count; ++i)
    if (std::string_view(function_table[i].keyword) != function_keywords[i]) return false;
  return true;
}
static_assert(rows_in_order());

}  // namespace front
