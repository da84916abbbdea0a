// step_runner.cpp — runs compiled steps one after another, without the reader.
//
// While steps run, the current line is held by a plain pointer; the shared
// current line of the execution state is brought up to date only when a line
// that the program does not hold becomes current, and when the interpreter
// takes over again. A line of the program stays alive while the program is
// unchanged, and only the interpreter changes the program.
#include <cmath>
#include <cstring>

#include "base/format_text.h"
#include "base/limits.h"
#include "device/line_input.h"
#include "machine/evaluator.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/machine.h"
#include "machine/memory_budget.h"
#include "machine/number_parse.h"
#include "machine/random.h"
#include "machine/steps.h"
#include "machine/text_functions.h"
#include "machine/token_cache.h"

namespace machine {
namespace {

// Thrown by a step that meets what only the interpreter may handle (mostly an
// error about to be raised); caught in run_steps, before anything has changed
// but the random generator, which is put back there.
struct GiveUp {};
[[noreturn]] void give_up() { throw GiveUp{}; }

// A string assignment needs at most this much room left in the memory budget
// (a 255-byte text and its storage doubling); with less, the interpreter stores it.
constexpr std::size_t string_room = 1024;

double number_of(const Node& n);
std::string_view text_of(const Node& n);

// A plain variable or a number is read in place; anything else is worked out.
inline double operand_of(const Node* n) {
  if (n->kind == NodeKind::variable) return n->variable->number;
  if (n->kind == NodeKind::number) return n->number;
  return number_of(*n);
}

std::size_t element_offset(const Node& n) {
  const Variable& v = *n.variable;
  if (n.dimension_count == 1) {  // the common case, without the loop
    std::int32_t i = to_int32(operand_of(n.subscripts[0]));
    if (i < 0 || i >= v.extents[0]) give_up();
    return static_cast<std::size_t>(i);
  }
  std::size_t offset = 0;
  for (int k = 0; k < n.dimension_count; ++k) {
    std::int32_t i = to_int32(number_of(*n.subscripts[k]));
    if (i < 0 || i >= v.extents[k]) give_up();
    offset = offset * static_cast<std::size_t>(v.extents[k]) + static_cast<std::size_t>(i);
  }
  return offset;
}

double& number_cell(const Node& n) {
  if (n.kind == NodeKind::variable) return n.variable->number;
  std::size_t offset = element_offset(n);
  if (offset >= n.variable->numbers.size()) give_up();
  return n.variable->numbers[offset];
}

std::string& text_cell(const Node& n) {
  if (n.kind == NodeKind::variable) return n.variable->text;
  std::size_t offset = element_offset(n);
  if (offset >= n.variable->texts.size()) give_up();
  return n.variable->texts[offset];
}

std::int64_t int_argument(const Node* n) { return to_int32(operand_of(n)); }

double number_function(const Node& n) {
  switch (static_cast<Function>(n.code)) {
    case Function::int_: return to_int32(number_of(*n.a));
    case Function::abs: {
      double x = number_of(*n.a);
      return x < 0 ? -x : x;
    }
    case Function::sqr: return std::sqrt(number_of(*n.a));
    case Function::exp: return std::exp(number_of(*n.a));
    case Function::log: {
      double x = number_of(*n.a);
      if (x == 0) give_up();
      return std::log(x);
    }
    case Function::sin: return std::sin(number_of(*n.a));
    case Function::cos: return std::cos(number_of(*n.a));
    case Function::tan: return std::tan(number_of(*n.a));
    case Function::atn: return std::atan(number_of(*n.a));
    case Function::rnd: return random_up_to(number_of(*n.a));
    case Function::asc: return asc_value(text_of(*n.a));
    case Function::val: return parse_number(text_of(*n.a));
    case Function::len: return static_cast<double>(text_of(*n.a).size());
    case Function::instr: {
      std::string_view s = text_of(*n.a);
      std::string_view t = text_of(*n.b);
      return instr_position(s, t, n.c ? int_argument(n.c) : 1);
    }
    default: give_up();
  }
}

std::string_view text_function(const Node& n) {
  switch (static_cast<Function>(n.code)) {
    case Function::chr: {
      char byte;
      n.scratch.assign(chr_text(number_of(*n.a), byte));
      return n.scratch;
    }
    case Function::str:
      n.scratch = base::format_text("%d", {to_int32(number_of(*n.a))});
      return n.scratch;
    case Function::mid: {
      std::string_view s = text_of(*n.a);
      std::int64_t start = int_argument(n.b);
      std::int64_t length = n.c ? int_argument(n.c) : static_cast<std::int64_t>(limits::string_bytes);
      return mid_text(s, start, length);
    }
    case Function::left: {
      std::string_view s = text_of(*n.a);
      return left_text(s, int_argument(n.b));
    }
    case Function::right: {
      std::string_view s = text_of(*n.a);
      return right_text(s, int_argument(n.b));
    }
    default: give_up();
  }
}

// strcmp of the two texts: each ends at its first zero byte, if any.
int compare_texts(std::string_view a, std::string_view b) {
  if (const void* z = std::memchr(a.data(), 0, a.size())) a = a.substr(0, static_cast<const char*>(z) - a.data());
  if (const void* z = std::memchr(b.data(), 0, b.size())) b = b.substr(0, static_cast<const char*>(z) - b.data());
  return a.compare(b);
}

double number_of(const Node& n) {
  switch (n.kind) {
    case NodeKind::number: return n.number;
    case NodeKind::variable: return n.variable->number;
    case NodeKind::element: return number_cell(n);
    case NodeKind::negate: return -operand_of(n.a);
    case NodeKind::add: {
      double l = operand_of(n.a);
      return l + operand_of(n.b);
    }
    case NodeKind::subtract: {
      double l = operand_of(n.a);
      return l - operand_of(n.b);
    }
    case NodeKind::multiply: {
      double l = operand_of(n.a);
      return l * operand_of(n.b);
    }
    case NodeKind::divide: {
      double l = operand_of(n.a);
      double r = operand_of(n.b);
      if (r == 0) give_up();
      return l / r;
    }
    case NodeKind::modulo: {
      double l = operand_of(n.a);
      double right = operand_of(n.b);
      std::int32_t r = to_int32(right);
      if (right == 0 || r == 0) give_up();
      // The one quotient that does not fit: -2147483648 mod -1 is 0.
      return r == -1 ? 0.0 : static_cast<double>(to_int32(l) % r);
    }
    case NodeKind::power: {
      double l = operand_of(n.a);
      return std::pow(l, operand_of(n.b));
    }
    case NodeKind::compare: {
      double l = operand_of(n.a);
      return compare_difference(n.code, l - operand_of(n.b)) ? 1 : 0;
    }
    case NodeKind::compare_texts: {
      std::string_view l = text_of(*n.a);
      return compare_difference(n.code, compare_texts(l, text_of(*n.b))) ? 1 : 0;
    }
    case NodeKind::bit_and: {
      std::int32_t l = to_int32(operand_of(n.a));
      return l & to_int32(operand_of(n.b));
    }
    case NodeKind::bit_or: {
      std::int32_t l = to_int32(operand_of(n.a));
      return l | to_int32(operand_of(n.b));
    }
    case NodeKind::function: return number_function(n);
    default: give_up();
  }
}

// A view of the text a node gives: of a variable, of the line, or of a
// scratch string of the node or a node below it. Nothing changes any of them
// while a statement's expressions are worked out, so the view stays good.
std::string_view text_of(const Node& n) {
  switch (n.kind) {
    case NodeKind::text: return n.text;
    case NodeKind::variable: return n.variable->text;
    case NodeKind::element: return text_cell(n);
    case NodeKind::concatenate: {
      std::string_view l = text_of(*n.a);
      std::string_view r = text_of(*n.b);
      if (l.size() + r.size() > limits::string_bytes) give_up();
      n.scratch.assign(l);
      n.scratch += r;
      return n.scratch;
    }
    case NodeKind::function: return text_function(n);
    default: give_up();
  }
}

// The position of the steps: the line they run in and the line the
// execution state holds (the same, or a line of the program).
struct Runner {
  ProgramLine* line;
  LinePtr& holder = execution.current_line;
  // Where the interpreter takes over when there is no step to go on with.
  ProgramLine* back_line = nullptr;
  std::uint32_t back_offset = 0;
  bool back_at_statement = false;

  // Makes target the current line; owner is a shared pointer that holds it.
  void enter(ProgramLine* target, const LinePtr& owner) {
    if (target == line) return;
    if (target->in_program) {
      // A line the program does not hold would have been let go here.
      if (holder && !holder->in_program) holder.reset();
    } else {
      LinePtr copy = owner;  // owner may live in the line let go
      holder = std::move(copy);
    }
    line = target;
  }

  // The shared pointer of the current line, for an entry that keeps it.
  LinePtr shared_line() const { return holder.get() == line ? holder : line->shared_from_this(); }

  // The step at offset of the current line. At the end of a line of the
  // program, with a next line of the program, it goes straight on to the next
  // line's first step (the line held is then a line of the program, or this
  // one: nothing is let go).
  Step* go(std::uint32_t offset) {
    for (;;) {
      Step* s = step_here(offset);
      if (!s || s->kind != StepKind::line_end || !line->in_program) return s;
      ProgramLine* next = line->next.get();
      if (!next || !next->in_program) return s;
      line = next;
      offset = 0;
    }
  }
  // Once resolved, a position's step is found in a few loads.
  Step* step_here(std::uint32_t offset) {
    const std::vector<CachedToken*>& slot = line->cache.slot;
    if (offset < slot.size())
      if (CachedToken* t = slot[offset])
        if (t->step) return t->step;
    return resolve(offset);
  }
  Step* resolve(std::uint32_t offset);

  Step* jump(const LabelUse& label) {
    const LinePtr& target = *label.line;
    enter(target.get(), target);
    return go(0);
  }

  // Goes on from a step of the current line to k. Within the program the way
  // is remembered: while the program stays the same it leads to the same step.
  // (k is written only when the line is one of the program's, which keeps it.)
  Step* follow(Continuation& k) {
    if (k.generation == program.generation) {
      line = k.line;
      return k.step;
    }
    bool remember = line->in_program;
    Step* next = k.label ? jump(*k.label) : go(k.offset);
    if (next && remember && line->in_program) {
      k.step = next;
      k.line = line;
      k.generation = program.generation;
    }
    return next;
  }

  Step* perform(Step& s);
  Step* loop_again(Step& s, ForEntry& entry);
};

// The step for the statement whose first token t was read from offset of
// line, compiled when the statement has been met often enough.
Step* statement_step(ProgramLine& line, std::uint32_t offset, CachedToken& t) {
  if (t.step) return t.step;
  if (t.next_try == CachedToken::never_again) return nullptr;
  if (++t.visits < t.next_try) return nullptr;
  if (!compiles_ever(t)) {
    t.next_try = CachedToken::never_again;
    return nullptr;
  }
  t.next_try = t.visits < 0x7FFFFFFF ? t.visits * 2 : CachedToken::never_again - 1;
  std::unique_ptr<Step> step = compile_step(line, offset);
  if (!step) return nullptr;
  t.step = step.get();
  line.cache.steps.push_back(std::move(step));
  return t.step;
}

// The step that runs when execution is at the token read from offset of the
// current line: separators and labels are passed over as the executor does.
Step* Runner::resolve(std::uint32_t offset) {
  back_at_statement = false;
  CachedToken* first = nullptr;
  for (;;) {
    CachedToken* t = cached_token_at(*line, offset);
    if (!t) break;
    if (!first) first = t;
    if (t->step) {
      if (first != t) first->step = t->step;
      return t->step;
    }
    switch (t->kind) {
      case TK_STATEMENT:
      case TK_NAME:
        if (Step* s = statement_step(*line, offset, *t)) {
          if (first != t) first->step = s;
          return s;
        }
        back_at_statement = true;
        break;
      case TK_PUNCT:
        if (t->op != OP_COLON) break;
        offset = t->next;
        continue;
      case TK_LABEL:
        offset = t->next;
        continue;
      case TK_END: {
        auto end = std::make_unique<Step>();
        end->kind = StepKind::line_end;
        end->line = line;
        end->start = offset;
        t->step = end.get();
        line->cache.steps.push_back(std::move(end));
        if (first != t) first->step = t->step;
        return t->step;
      }
      default:
        break;
    }
    break;
  }
  back_line = line;
  back_offset = offset;
  return nullptr;
}

auto& for_stack = state.control.for_stack;
std::size_t& for_top = state.control.for_top;
auto& gosub_stack = state.control.gosub_stack;
std::size_t& gosub_top = state.control.gosub_top;

// A string assignment gives up when the budget is nearly spent: the
// interpreter then stores it and raises the error if there is one.
void check_room() {
  if (memory_in_use() > memory_budget() || memory_budget() - memory_in_use() < string_room) give_up();
}

void check_depth(const Step& s) {
  if (value_stack.top + static_cast<std::size_t>(s.depth) > limits::value_stack_entries) give_up();
}

// next, when the loop goes round again: back to the for entry's position.
Step* Runner::loop_again(Step& s, ForEntry& entry) {
  Step* again;
  if (s.loop.generation == program.generation && s.loop_line == entry.line.get() && s.loop_resume == entry.resume) {
    line = s.loop.line;
    again = s.loop.step;
  } else {
    // (Entering the entry's line may let go of this one, and of s with it,
    // when it is not a line of the program: s is written only when it is.)
    bool remember = line->in_program && entry.line->in_program;
    s.loop.generation = 0;
    s.loop_line = entry.line.get();
    s.loop_resume = entry.resume;
    enter(entry.line.get(), entry.line);
    again = go(static_cast<std::uint32_t>(entry.resume - line->text.c_str()));
    if (again && remember && line->in_program) {
      s.loop.step = again;
      s.loop.line = line;
      s.loop.generation = program.generation;
    }
  }
  if (again != &s || table_statement_check) return again;
  // The loop's body is this next alone: count on here, checking Break
  // before each next as the main loop would.
  // (Nothing else reads the counter meanwhile: it is kept in a register.)
  Variable& v = *entry.variable;
  const double step = entry.step, limit = entry.limit;
  double x = v.number;
  for (;;) {
    if (device::break_flag.load(std::memory_order_relaxed)) {
      v.number = x;
      return &s;
    }
    x += step;
    if (!((x - limit) * step <= 0)) {
      v.number = x;
      for_stack[--for_top] = ForEntry{};
      return follow(s.after);
    }
  }
}

Step* Runner::perform(Step& s) {
  switch (s.kind) {
    case StepKind::assign: {
      check_depth(s);
      if (s.target->type == number_type) {
        double& cell = number_cell(*s.target);
        cell = number_of(*s.value);
      } else {
        std::string& cell = text_cell(*s.target);
        const Node& value = *s.value;
        if (value.kind == NodeKind::concatenate && value.a->kind == NodeKind::variable && &cell == &value.a->variable->text) {
          // name$ = name$ + text: added in place, which leaves the same text
          // and storage as building the whole and copying it would.
          std::string_view more = text_of(*value.b);
          if (cell.size() + more.size() > limits::string_bytes) give_up();
          check_room();
          append_text(cell, more);
        } else {
          std::string_view text = text_of(value);
          check_room();
          assign_text(cell, text);
        }
      }
      return follow(s.after);
    }
    case StepKind::loop_start: {
      if (for_top >= limits::for_entries || value_stack.top != 0) give_up();  // clear_value would drop leftovers
      Variable& v = *s.target->variable;
      if (v.type == string_type || v.dimension_count > 0) give_up();
      double first = number_of(*s.value);
      // The counter is set before the limit and step are worked out, which may read it.
      double was = v.number;
      v.number = first;
      double limit, increment;
      try {
        limit = number_of(*s.limit);
        increment = s.increment ? number_of(*s.increment) : limit >= v.number ? 1 : -1;
      } catch (const GiveUp&) {
        v.number = was;
        throw;
      }
      ForEntry& entry = for_stack[for_top];
      entry.variable = v.shared_from_this();
      entry.limit = limit;
      entry.step = increment;
      entry.line = shared_line();
      entry.resume = line->text.c_str() + s.after.offset;
      ++for_top;
      return follow(s.after);
    }
    case StepKind::branch: {
      check_depth(s);
      bool taken = to_int32(number_of(*s.value)) != 0;
      return follow(taken ? s.after : s.otherwise);
    }
    case StepKind::jump:
      return follow(s.after);
    case StepKind::call: {
      if (gosub_top >= limits::gosub_entries) give_up();
      GosubEntry& entry = gosub_stack[gosub_top++];
      entry.line = shared_line();
      entry.resume = line->text.c_str() + s.otherwise.offset;
      return follow(s.after);
    }
    case StepKind::come_back: {
      if (gosub_top == 0) give_up();
      GosubEntry& entry = gosub_stack[--gosub_top];
      std::uint32_t offset = static_cast<std::uint32_t>(entry.resume - entry.line->text.c_str());
      entry.resume = "";
      holder = std::move(entry.line);  // the entry is left empty, as a fresh one
      line = holder.get();
      return go(offset);
    }
    case StepKind::loop_end: {
      if (for_top == 0) give_up();
      ForEntry& entry = for_stack[for_top - 1];
      if (!s.counter_name.empty() && s.counter != entry.variable.get()) give_up();
      Variable& v = *entry.variable;
      v.number += entry.step;
      if (!((v.number - entry.limit) * entry.step <= 0)) {  // the loop has ended
        for_stack[--for_top] = ForEntry{};
        return follow(s.after);
      }
      return loop_again(s, entry);
    }
    case StepKind::line_end: {
      const LinePtr& next = line->next;
      if (!next) {
        back_line = line;
        back_offset = s.start;
        return nullptr;
      }
      enter(next.get(), next);
      return go(0);
    }
  }
  return nullptr;
}

}  // namespace

bool (*table_statement_check)() = nullptr;

bool run_steps(bool& interpret) {
  ProgramLine* line = execution.current_line.get();
  CachedToken* entry = lexer.entry;
  if (!line || !entry || lexer.entry_line != line) return false;
  auto offset = static_cast<std::uint32_t>(lexer.token_start - line->text.c_str());
  Step* s = statement_step(*line, offset, *entry);
  if (!s) return false;
  Runner run{line};
  interpret = false;
  for (;;) {
    if (device::break_flag.load(std::memory_order_relaxed)) {
      run.back_line = s->line;
      run.back_offset = s->start;
      break;
    }
    if (s->kind != StepKind::line_end &&
        (s->variable_generation != state.variables.generation ||
         s->program_generation != program.generation) &&
        !relink_step(*s)) {
      run.back_line = s->line;
      run.back_offset = s->start;
      interpret = true;
      break;
    }
    if (table_statement_check && s->from_table && !table_statement_check()) {
      run.back_line = s->line;
      run.back_offset = s->start;
      interpret = true;
      break;
    }
    Step* next;
    std::uint32_t random_was = s->draws ? state.random_state : 0;
    try {
      next = run.perform(*s);
    } catch (const GiveUp&) {
      if (s->draws) state.random_state = random_was;
      run.back_line = s->line;
      run.back_offset = s->start;
      interpret = true;
      break;
    }
    if (!next) {
      interpret = run.back_at_statement;
      break;
    }
    s = next;
  }
  // The interpreter takes over at the position reached.
  LinePtr& holder = execution.current_line;
  if (holder.get() != run.back_line) holder = run.back_line->shared_from_this();
  lexer.cursor = run.back_line->text.c_str() + run.back_offset;
  next_token();
  return true;
}

}  // namespace machine
