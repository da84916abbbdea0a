// Tests of the token cache: programs run both ways in-process must leave the
// same variables, positions and picture; the current token must forget a line
// that goes away; the translator's 37-row reader never reads from the cache.
#include <gtest/gtest.h>

#include <memory>

#include "differential_check.h"
#include "machine/errors.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/machine.h"
#include "machine/program_store.h"
#include "machine/token_cache.h"

namespace {

class BothWays : public testing::TestWithParam<const char*> {};

TEST_P(BothWays, SameVariablesPositionsAndPicture) {
  EXPECT_EQ(differential::compare_both_ways(GetParam()), "");
}

// Each program meets the caches where they could go wrong.
const char* const programs[] = {
    // the assignment target is checked before the right-hand side
    "dim m(3)\nfor i = 0 to 5\nm(i) = 10 / (4 - i)\nnext i\n",
    // subscripts checked one by one; an error inside a loop on the second pass
    "dim a(2, 2)\nfor i = 0 to 3\nfor j = 0 to 2\na(i, j) = i * j\nnext j\nnext i\n",
    // a notation error met on the second pass through a line
    "for i = 1 to 2\nif i = 2 then x = &hg\nnext\n",
    "for i = 1 to 2\nif i = 2 then x = 1.e5\nnext\n",
    // operators and keywords written as strings still match by text
    "a = 1 \"+\" 2 \"*\" 3\nif a \"=\" 7 \"then\" b = 1\nc$ = mid$(\"hello\" \",\" 2 \",\" 2)\n",
    // variables freed by clear and made again, read through remembered tokens
    "n = 0\n@top\nn = n + 1\nx = x + n\nif n = 2 then clear: n = 5\nif n < 7 then goto @top\ny = x\n",
    // next with the wrong name pops its entry; for on a string raises
    "for i = 1 to 3\nfor j = 1 to 2\nnext i\n",
    "a$ = \"x\"\nfor a$ = 1 to 2\nnext\n",
    // gosub depth and return positions inside one line
    "s = 0\nfor k = 1 to 3: gosub @add: gosub @add: next k\nend\n@add\ns = s + k: return\n",
    // a label missing, found only after the jump is read
    "x = 1\nif x = 1 then @nowhere\n",
    // strings concatenated and compared in the value stack's storage
    "s$ = \"\"\nfor i = 1 to 50\ns$ = s$ + chr$(65 + i mod 26)\nif s$ < \"B\" then c = c + 1\nnext\nt$ = s$ + s$ + s$ + s$ + s$ + s$\n",
    // deep expressions near the value stack's size
    "x = ((((((((((((((((1))))))))))))))))\ny = 1+(2+(3+(4+(5+(6+(7+(8+(9+(10)))))))))\n",
    // stop, then the resume point
    "for i = 1 to 3\nif i = 2 then stop\nnext\n",
};

INSTANTIATE_TEST_SUITE_P(Programs, BothWays, testing::ValuesIn(programs));

TEST(TokenCache, CurrentTokenForgetsALineThatGoesAway) {
  machine::state = machine::Machine{};
  auto line = std::make_shared<machine::ProgramLine>(1, "cont x = 1");
  machine::execution.current_line = line;
  machine::start_reading(line->text.c_str());
  machine::next_token();  // x, from the line's cache
  ASSERT_NE(machine::lexer.entry, nullptr);
  EXPECT_EQ(machine::lexer.entry_line, line.get());
  machine::execution.current_line.reset();
  line.reset();  // the typed line goes away while its token is current
  EXPECT_EQ(machine::lexer.entry, nullptr);
  EXPECT_EQ(machine::lexer.text(), "x");
  machine::state = machine::Machine{};
}

TEST(TokenCache, SecondReadComesFromTheCacheWithTheSameToken) {
  machine::state = machine::Machine{};
  auto line = std::make_shared<machine::ProgramLine>(1, "  make 12.5e1 + \"s\" @lab");
  machine::execution.current_line = line;
  for (int pass = 0; pass < 2; ++pass) {
    machine::start_reading(line->text.c_str());
    EXPECT_EQ(machine::lexer.token_kind, machine::TK_STATEMENT);
    EXPECT_EQ(machine::lexer.token_start, line->text.c_str());  // before the blanks
    machine::next_token();
    EXPECT_EQ(machine::lexer.token_value, 125);
    machine::next_token();
    EXPECT_EQ(machine::lexer.op, machine::OP_PLUS);
    machine::next_token();
    EXPECT_EQ(machine::lexer.token_kind, machine::TK_STRING);
    EXPECT_EQ(machine::lexer.text(), "s");
    EXPECT_EQ(machine::lexer.op, machine::OP_NONE);
    machine::next_token();
    EXPECT_EQ(machine::lexer.token_kind, machine::TK_LABEL);
    EXPECT_EQ(machine::lexer.text(), "lab");
    EXPECT_EQ(machine::lexer.token_index, machine::label_hash_of("lab"));
  }
  // The translator's reader, at the same place, finds a name, not the statement.
  machine::lexer.cursor = line->text.c_str();
  machine::next_token_in(machine::statement_count - 1);
  EXPECT_EQ(machine::lexer.token_kind, machine::TK_NAME);
  EXPECT_EQ(machine::lexer.entry, nullptr);
  machine::state = machine::Machine{};
}

TEST(TokenCache, NotationErrorIsRaisedAgainAtTheSamePlace) {
  machine::state = machine::Machine{};
  auto line = std::make_shared<machine::ProgramLine>(1, "x = &h");
  machine::execution.current_line = line;
  for (int pass = 0; pass < 2; ++pass) {
    machine::start_reading(line->text.c_str());
    machine::next_token();
    EXPECT_THROW(machine::next_token(), machine::BasicError);
    EXPECT_EQ(machine::lexer.cursor, line->text.c_str() + 6);
  }
  machine::state = machine::Machine{};
}

}  // namespace
