// program_store.h — the program's lines and the execution position.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "machine/token_cache.h"

namespace machine {

// One stored line. Lines are shared: whatever still refers to a line (the
// current line, a for or gosub entry, the resume point) keeps it and its text
// alive after new, load or the next typed line has replaced it.
struct ProgramLine : std::enable_shared_from_this<ProgramLine> {
  std::weak_ptr<ProgramLine> prev;
  std::shared_ptr<ProgramLine> next;
  std::int32_t number = -1;
  std::int32_t label_hash = -1;
  std::string text;
  // True while the line is one of the program's: the program keeps it alive.
  bool in_program = false;
  // What the interpreter's reader found in text (filled as it reads).
  mutable LineTokens cache;

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
  // The labelled lines by label hash, in program order, kept in step with the
  // store so that a jump does not walk the whole program.
  std::unordered_map<std::int32_t, std::vector<LinePtr>> label_index;
  // Changes whenever the lines or the label index change: cached jump targets
  // of an older generation are not trusted.
  std::uint64_t generation = fresh_generation();
};
extern ProgramStore& program;

struct ExecutionState {
  LinePtr current_line;
  bool program_running = false;
  LinePtr cont_line;
  const char* cont_cursor = "";
  // Set by make for exactly its first pass: input$ and eof then do no I/O.
  bool translation_flag = false;
};
extern ExecutionState& execution;

// Label hash of a line text: -1 when it does not begin with a label.
std::int32_t line_label_hash(std::string_view text);

void append_line(std::string text);
void free_program();
// The first line carrying the label, or none.
LinePtr find_label(std::int32_t hash, std::string_view name);
// The same, as the slot of the label index that holds the line (valid until the
// program changes), or nullptr.
const LinePtr* find_label_slot(std::int32_t hash, std::string_view name);

}  // namespace machine
