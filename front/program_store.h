// program_store.h — the program's lines, the execution position and the executor.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace front {

// One stored line. Lines are shared: whatever still refers to a line (the
// current line, a for or gosub entry, the resume point) keeps it and its text
// alive after new, load or the next typed line has replaced it.
struct ProgramLine {
  std::weak_ptr<ProgramLine> prev;
  std::shared_ptr<ProgramLine> next;
  std::int32_t number = -1;
  std::int32_t label_hash = -1;
  std::string text;

  ProgramLine() = default;
  ProgramLine(std::int32_t n, std::string t);
  ~ProgramLine();  // unlinks its successors one by one: no deep recursion
  ProgramLine(const ProgramLine&) = delete;
  ProgramLine& operator=(const ProgramLine&) = delete;
};
using LinePtr = std::shared_ptr<ProgramLine>;

struct ProgramStore {
  LinePtr program_head;
  LinePtr program_tail;
  std::int32_t next_line_number = 1;
};
extern ProgramStore program;

struct ExecutionState {
  LinePtr current_line;
  bool program_running = false;
  LinePtr cont_line;
  const char* cont_cursor = "";
};
extern ExecutionState execution;

// Label hash of a line text: -1 when it does not begin with a label.
std::int32_t line_label_hash(std::string_view text);

void append_line(std::string text);
void free_program();
// The first line carrying the label, or none.
LinePtr find_label(std::int32_t hash, std::string_view name);

// Runs a line from its first statement; returns the stopping handler's result
// or 2 after the last line.
int execute_line(LinePtr line);
// Runs from a position in a line, starting with the token the lexer holds.
int execute_from(LinePtr line, const char* position);

// Makes line current and reads its first token (a jump).
void jump_to(LinePtr line, const char* position);

// Reads a program file (Shift-JIS name). Loud: a file that cannot be opened
// raises "ロード失敗しました"; quiet: it leaves the program unchanged.
void load_program_file(std::string_view name, bool loud);

// The work of new: program, variables and resume point cleared.
void new_program();

}  // namespace front
