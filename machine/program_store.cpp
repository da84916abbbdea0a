// program_store.cpp — the lines of the program and the label lookup.
#include "machine/program_store.h"

#include "machine/lexer.h"
#include "machine/machine.h"

#include "machine/memory_budget.h"
#include "machine/steps.h"

namespace machine {

ProgramStore& program = state.program;
ExecutionState& execution = state.execution;

namespace {
auto& label_index = state.program.label_index;
}  // namespace

namespace {
// A line's share of the memory budget: the node, its shared count, its text.
std::size_t line_bytes(const ProgramLine& line) { return sizeof(ProgramLine) + 16 + text_bytes(line.text); }
}  // namespace

ProgramLine::ProgramLine(std::int32_t n, std::string t) : number(n), text(std::move(t)) {
  charge_memory(line_bytes(*this));
}

std::uint64_t fresh_generation() {
  static std::uint64_t last = 0;
  return ++last;
}

ProgramLine::~ProgramLine() {
  forget_line_tokens(this);
  refund_memory(line_bytes(*this));
  // Release the chain iteratively; a long program would otherwise recurse once per line.
  LinePtr rest = std::move(next);
  while (rest && rest.use_count() == 1) rest = std::move(rest->next);
}

namespace {
bool is_label_char(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The label name of a line text, or nullptr-length when none.
bool line_label(std::string_view text, std::string_view& name) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i >= text.size() || text[i] != '@') return false;
  std::size_t start = ++i;
  while (i < text.size() && is_label_char(text[i])) ++i;
  name = text.substr(start, i - start);
  return true;
}
}  // namespace

std::int32_t line_label_hash(std::string_view text) {
  std::string_view name;
  if (!line_label(text, name)) return -1;
  std::int32_t hash = 0;
  for (char c : name) hash += static_cast<unsigned char>(c);
  return hash;
}

void append_line(std::string text) {
  execution.cont_line.reset();
  program.generation = fresh_generation();
  if (!program.program_head) program.next_line_number = 1;
  auto line = std::make_shared<ProgramLine>(program.next_line_number++, std::move(text));
  line->label_hash = line_label_hash(line->text);
  line->in_program = true;
  if (program.program_tail) {
    line->prev = program.program_tail;
    program.program_tail->next = line;
  } else {
    program.program_head = line;
  }
  program.program_tail = line;
  if (line->label_hash != -1) label_index[line->label_hash].push_back(line);
}

void free_program() {
  program.generation = fresh_generation();
  for (ProgramLine* line = program.program_head.get(); line; line = line->next.get()) line->in_program = false;
  label_index.clear();
  program.program_tail.reset();
  program.program_head.reset();
}

const LinePtr* find_label_slot(std::int32_t hash, std::string_view name) {
  auto it = label_index.find(hash);
  if (it == label_index.end()) return nullptr;
  for (const LinePtr& line : it->second) {
    std::string_view own;
    line_label(line->text, own);
    // Compared over the length of the line's own label.
    if (own.size() <= name.size() && name.substr(0, own.size()) == own) return &line;
  }
  return nullptr;
}

LinePtr find_label(std::int32_t hash, std::string_view name) {
  const LinePtr* slot = find_label_slot(hash, name);
  return slot ? *slot : nullptr;
}

}  // namespace machine
