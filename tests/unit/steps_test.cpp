// Tests of compiled statements: which statements compile (a statement that
// silently stops compiling only shows as lost speed), the token reader that
// compiling uses, and Break met inside a loop that counts in place.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "device/console.h"
#include "device/device.h"
#include "device/line_input.h"
#include "machine/errors.h"
#include "machine/executor.h"
#include "machine/lexer.h"
#include "machine/machine.h"
#include "machine/program_store.h"
#include "machine/steps.h"
#include "machine/token_cache.h"
#include "machine/variables.h"

namespace {

struct Fresh {
  Fresh() {
    machine::state = machine::Machine{};
    device::state = device::Device{};
    device::create_picture({}, false);
  }
  ~Fresh() { machine::state = machine::Machine{}; }
};

// Runs the program, then tells which kinds of step its lines hold.
std::string step_kinds(const char* program) {
  Fresh fresh;
  std::string text = program;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    machine::append_line(text.substr(at, end - at));
    at = end + 1;
  }
  try {
    machine::execute_line(std::make_shared<machine::ProgramLine>(-1, "run"));
  } catch (const machine::BasicError&) {
  }
  static const char* const names[] = {"let", "for", "if", "goto", "gosub", "return", "next", "end"};
  std::string kinds;
  for (machine::ProgramLine* line = machine::program.program_head.get(); line; line = line->next.get()) {
    kinds += std::to_string(line->number) + ":";
    for (const auto& step : line->cache.steps) kinds += std::string(" ") + names[static_cast<int>(step->kind)];
    kinds += ";";
  }
  return kinds;
}

TEST(Steps, StatementsMetTwiceCompile) {
  EXPECT_EQ(step_kinds("dim a(3)\nfor i = 0 to 3\na(i) = i * 2 + len(str$(i))\n"
                       "if a(i) > 3 then s$ = s$ + mid$(\"xy\", 1, 1) else s$ = left$(s$, 1)\n"
                       "gosub @sub: next i\nend\n@sub\nreturn\n"),
            "1:;2: end;3: let end;4: if let end let end;5: gosub next end;6:;7: end;8: return;");
  // The outer for meets its statement twice; its step is made at the second time.
  EXPECT_EQ(step_kinds("for j = 1 to 3\nfor i = 1 to 2: n = n + 1: next\nnext\n"),
            "1: end;2: let next end for;3: next end;");
}

TEST(Steps, StatementsThatWriteOrLackThenStayInterpreted) {
  // print writes, if without then is left to the interpreter; rnd compiles.
  EXPECT_EQ(step_kinds("for i = 1 to 3\nx = rnd(5)\nprint \"\";\ny = i + 0\nif i then y = 1\nif i = 9 y = 2\n"
                       "z$ = \"a\" + \"b\"\nnext\n"),
            "1: end;2: let end;3:;4: let end;5: if let end;6:;7: let end;8: next end;");
}

TEST(Steps, CachedTokenAtReadsWithoutRaisingOrMovingTheReader) {
  Fresh fresh;
  auto line = std::make_shared<machine::ProgramLine>(1, "x = &h + 1.5");
  machine::execution.current_line = line;
  machine::start_reading("print 7");
  machine::LexerState before = machine::lexer;
  EXPECT_EQ(machine::cached_token_at(*line, 4), nullptr);  // &h: a notation error
  machine::CachedToken* number = machine::cached_token_at(*line, 8);
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->value, 1.5);
  EXPECT_EQ(number->next, 12u);
  EXPECT_EQ(machine::cached_token_at(*line, 8), number);  // kept
  EXPECT_EQ(machine::cached_token_at(*line, 40), nullptr);  // past the text
  EXPECT_EQ(machine::lexer.cursor, before.cursor);
  EXPECT_EQ(machine::lexer.token_kind, before.token_kind);
  EXPECT_STREQ(machine::lexer.token_text, before.token_text);
}

// Break set by another thread while an empty loop counts in place stops it
// before a next, as the interpreter would: the loop stays on its stack, the
// counter holds a whole number of steps, and cont counts on.
TEST(Steps, BreakStopsALoopThatCountsInPlace) {
  Fresh fresh;
  machine::append_line("for i = 1 to 2000000000");
  machine::append_line("next i");
  machine::append_line("print i");
  std::atomic<bool> done{false};
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    device::break_flag = 1;
    done = true;
  });
  EXPECT_THROW(machine::execute_line(std::make_shared<machine::ProgramLine>(-1, "run")), machine::BasicError);
  stopper.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(machine::for_depth(), 1u);
  ASSERT_TRUE(machine::execution.cont_line);
  EXPECT_EQ(machine::execution.cont_line->number, 2);
  double counted = machine::find_variable("i")->number;
  EXPECT_GT(counted, 1);
  EXPECT_LT(counted, 2000000000);
  EXPECT_EQ(counted, static_cast<double>(static_cast<long long>(counted)));
}

}  // namespace
