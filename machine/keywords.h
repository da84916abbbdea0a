// keywords.h — the statement and function keywords, in their fixed row order,
// and the shape of the interpreter's (keyword, handler) tables. The tables
// themselves are filled in by the registry above the statements (app/); the
// translator has tables of its own in the same order; all come from these lists.
#pragma once
#include <cstddef>
#include <iterator>
#include <string_view>

#include "machine/statement_results.h"

namespace machine {

#define VORN_STATEMENT_KEYWORDS(X)                                                               \
  X(if_, "if") X(for_, "for") X(next, "next") X(goto_, "goto") X(gosub, "gosub")                 \
  X(return_, "return") X(print, "print") X(input, "input") X(clear, "clear") X(pset, "pset")     \
  X(cls, "cls") X(line, "line") X(locate, "locate") X(dim, "dim") X(open, "open")                \
  X(close, "close") X(box, "box") X(boxf, "boxf") X(circle, "circle") X(circlef, "circlef")      \
  X(start, "start") X(exec, "exec") X(wait, "wait") X(image, "image") X(question, "?")           \
  X(save, "save") X(edit, "edit") X(load, "load") X(new_, "new") X(regist, "regist")             \
  X(let, "let") X(end, "end") X(list, "list") X(run, "run") X(bye, "bye") X(stop, "stop")        \
  X(cont, "cont") X(make, "make")

#define VORN_FUNCTION_KEYWORDS(X)                                                                \
  X(int_, "int") X(abs, "abs") X(sqr, "sqr") X(exp, "exp") X(log, "log") X(sin, "sin")            \
  X(cos, "cos") X(tan, "tan") X(atn, "atn") X(chr, "chr$") X(asc, "asc") X(mid, "mid$")           \
  X(left, "left$") X(right, "right$") X(input, "input$") X(inkey, "inkey$") X(eof, "eof")         \
  X(str, "str$") X(val, "val") X(len, "len") X(time, "time$") X(date, "date$") X(instr, "instr")  \
  X(rnd, "rnd") X(netstat, "netstat")

enum class Statement {
#define VORN_ROW_ID(id, text) id,
  VORN_STATEMENT_KEYWORDS(VORN_ROW_ID)
#undef VORN_ROW_ID
};

enum class Function {
#define VORN_ROW_ID(id, text) id,
  VORN_FUNCTION_KEYWORDS(VORN_ROW_ID)
#undef VORN_ROW_ID
};

inline constexpr const char* statement_keywords[] = {
#define VORN_ROW_TEXT(id, text) text,
    VORN_STATEMENT_KEYWORDS(VORN_ROW_TEXT)
#undef VORN_ROW_TEXT
};

inline constexpr const char* function_keywords[] = {
#define VORN_ROW_TEXT(id, text) text,
    VORN_FUNCTION_KEYWORDS(VORN_ROW_TEXT)
#undef VORN_ROW_TEXT
};

inline constexpr int statement_count = static_cast<int>(std::size(statement_keywords));
inline constexpr int function_count = static_cast<int>(std::size(function_keywords));
static_assert(statement_count == 38 && function_count == 25);

using StatementHandler = int (*)();
using FunctionHandler = void (*)();

struct StatementRow {
  const char* keyword;
  StatementHandler handler;
};
struct FunctionRow {
  const char* keyword;
  FunctionHandler handler;
};

// True when table rows stand in the order of the keyword lists the lexer
// searches; every filling of the tables checks it with a static_assert.
constexpr bool rows_follow_keywords(const StatementRow (&statements)[statement_count],
                                    const FunctionRow (&functions)[function_count]) {
  for (int i = 0; i < statement_count; ++i)
    if (std::string_view(statements[i].keyword) != statement_keywords[i]) return false;
  for (int i = 0; i < function_count; ++i)
    if (std::string_view(functions[i].keyword) != function_keywords[i]) return false;
  return true;
}

// Defined by the handler registry (app/keyword_tables.cpp).
extern const StatementRow statement_table[statement_count];
extern const FunctionRow function_table[function_count];

}  // namespace machine
