// Tests of the memory budget's accounting: what arrays, texts and lines take
// is given back when they go, so that the total never drifts; a refusal
// changes nothing and is the fatal out-of-memory error.
#include <gtest/gtest.h>

#include <string>

#include "machine/errors.h"
#include "machine/executor.h"
#include "machine/memory_budget.h"
#include "machine/program_store.h"
#include "machine/variables.h"
#include "statements/program_commands.h"

namespace {

// Runs one typed line, letting errors through; the line itself is let go.
void run(const std::string& text) {
  struct LetGo {
    ~LetGo() { machine::execution.current_line.reset(); }
  } let_go;
  machine::execute_line(std::make_shared<machine::ProgramLine>(-1, text));
}

class MemoryBudgetTest : public testing::Test {
 protected:
  void SetUp() override {
    statements::new_program();
    base_ = machine::memory_in_use();
  }
  void TearDown() override {
    statements::new_program();
    machine::set_memory_budget(machine::default_memory_budget);
    machine::fatal_flag = 0;
  }
  std::size_t base_ = 0;
};

TEST_F(MemoryBudgetTest, EverythingChargedIsGivenBack) {
  run("dim a(1000), b$(100, 3)");
  EXPECT_GE(machine::memory_in_use(), base_ + 1001 * sizeof(double) + 101 * 4 * sizeof(std::string));
  run("s$ = \"\" : for i = 1 to 300 : s$ = s$ + \"y\" : next");
  run("for i = 0 to 100 : b$(i, 2) = s$ : next");
  std::size_t full = machine::memory_in_use();
  run("for i = 0 to 100 : b$(i, 2) = \"short\" : next");  // old buffers may be kept
  EXPECT_LE(machine::memory_in_use(), full);
  run("clear");
  EXPECT_EQ(machine::memory_in_use(), base_);
  for (int i = 0; i < 50; ++i) machine::append_line("print \"a line long enough to leave the inline buffer\"");
  EXPECT_GT(machine::memory_in_use(), base_);
  statements::new_program();
  EXPECT_EQ(machine::memory_in_use(), base_);
}

TEST_F(MemoryBudgetTest, PastTheBudgetIsTheFatalErrorAndChangesNothing) {
  machine::set_memory_budget(machine::memory_in_use() + (1u << 20));
  run("dim a(1000)");
  std::size_t before = machine::memory_in_use();
  EXPECT_THROW(run("dim b(1000000)"), machine::BasicError);
  EXPECT_EQ(machine::fatal_flag, 1);
  EXPECT_EQ(machine::memory_in_use(), before);
  machine::Variable* b = machine::find_variable("b");
  EXPECT_TRUE(b == nullptr || b->numbers.empty());
  std::string big(400, 'z');
  std::string cell;
  machine::set_memory_budget(machine::memory_in_use() + 100);
  EXPECT_THROW(machine::store_text(cell, std::string(big)), machine::BasicError);
  EXPECT_EQ(cell, "");
  EXPECT_EQ(machine::memory_in_use(), before);
}

}  // namespace
