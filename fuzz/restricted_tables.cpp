// restricted_tables.cpp — the statement and function tables of the targets
// that run programs: every statement that touches files, processes, the
// network or the clock's waits refused, and a bounded number of statements.
//
// Defined here, the tables take the place of the interpreter's registry
// (app/keyword_tables.cpp), which the linker then leaves out. Rows are in the
// keyword order of machine/keywords.h.
#include "base/messages.h"
#include "device/line_input.h"
#include "fuzz/fuzz_support.h"
#include "machine/control_flow.h"
#include "machine/errors.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/value_stack.h"
#include "machine/variables.h"
#include "statements/builtin_functions.h"
#include "statements/file_channels.h"
#include "statements/graphics.h"
#include "machine/steps.h"
#include "statements/print_input.h"
#include "statements/program_commands.h"
#include "statements/system_services.h"

namespace fuzz {

long steps = 0;
bool fixed_clock = false;

}  // namespace fuzz

namespace {

// A run ends with Break after this many statements: endless loops are fine programs.
constexpr long step_limit = 2000;

template <machine::StatementHandler Handler>
int counted() {
  if (++fuzz::steps > step_limit) device::break_flag = 1;
  return Handler();
}

// Compiled statements are counted as the table's would be; past the limit the
// table's own handler runs the statement, and counts it again.
const bool count_compiled = [] {
  machine::table_statement_check = [] { return ++fuzz::steps <= step_limit; };
  return true;
}();

// Files, processes, the network, the registry, waits and typed input.
int refused_statement() { machine::raise_error(base::Message::cannot_execute); }
void refused_function() { machine::raise_error(base::Message::cannot_execute); }

// time$ and date$, unless the clock is to be left out.
template <machine::FunctionHandler Handler>
void clocked() {
  if (fuzz::fixed_clock) refused_function();
  Handler();
}

// inkey$ without its 50 ms wait: no key was pressed.
void no_key() {
  machine::next_token();
  machine::put_string("");
}

}  // namespace

namespace machine {

constexpr StatementRow statement_table[statement_count] = {
    {"if", counted<if_statement>},
    {"for", counted<for_statement>},
    {"next", counted<next_statement>},
    {"goto", counted<goto_statement>},
    {"gosub", counted<gosub_statement>},
    {"return", counted<return_statement>},
    {"print", counted<statements::print_statement>},
    {"input", refused_statement},
    {"clear", counted<clear_statement>},
    {"pset", counted<statements::pset_statement>},
    {"cls", counted<statements::cls_statement>},
    {"line", counted<statements::line_statement>},
    {"locate", counted<statements::locate_statement>},
    {"dim", counted<dim_statement>},
    {"open", refused_statement},
    {"close", counted<statements::close_statement>},
    {"box", counted<statements::box_statement>},
    {"boxf", counted<statements::boxf_statement>},
    {"circle", counted<statements::circle_statement>},
    {"circlef", counted<statements::circlef_statement>},
    {"start", refused_statement},
    {"exec", refused_statement},
    {"wait", refused_statement},
    {"image", refused_statement},
    {"?", counted<statements::print_statement>},
    {"save", refused_statement},
    {"edit", refused_statement},
    {"load", refused_statement},
    {"new", counted<statements::new_statement>},
    {"regist", refused_statement},
    {"let", counted<let_statement>},
    {"end", counted<statements::end_statement>},
    {"list", counted<statements::list_statement>},
    {"run", counted<statements::run_statement>},
    {"bye", counted<statements::bye_statement>},
    {"stop", counted<statements::stop_statement>},
    {"cont", counted<statements::cont_statement>},
    {"make", refused_statement},
};

constexpr FunctionRow function_table[function_count] = {
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
    {"input$", refused_function},
    {"inkey$", no_key},
    {"eof", statements::eof_function},
    {"str$", statements::str_function},
    {"val", statements::val_function},
    {"len", statements::len_function},
    {"time$", clocked<statements::time_function>},
    {"date$", clocked<statements::date_function>},
    {"instr", statements::instr_function},
    {"rnd", statements::rnd_function},
    {"netstat", statements::netstat_function},
};

static_assert(rows_follow_keywords(statement_table, function_table));

}  // namespace machine

