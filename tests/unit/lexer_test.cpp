// Tests of the lexer: token kinds, texts, values and the notation errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "machine/errors.h"
#include "machine/lexer.h"

using namespace machine;

namespace {

struct Token {
  int kind;
  std::string text;
  double value;
  int index;
};

std::vector<Token> tokens_of(const char* line, int max = 20) {
  std::vector<Token> out;
  start_reading(line);
  for (int i = 0; i < max; ++i) {
    out.push_back({lexer.token_kind, std::string(lexer.text()), lexer.token_value, lexer.token_index});
    if (lexer.token_kind == TK_END) break;
    next_token();
  }
  return out;
}

bool raises(const char* line) {
  try {
    tokens_of(line);
  } catch (const BasicError&) {
    return true;
  }
  return false;
}

}  // namespace

TEST(Lexer, EndIsSticky) {
  start_reading("   ");
  EXPECT_EQ(lexer.token_kind, TK_END);
  next_token();
  EXPECT_EQ(lexer.token_kind, TK_END);
  start_reading("print 1 ' note");
  next_token();
  next_token();
  EXPECT_EQ(lexer.token_kind, TK_END);
  next_token();
  EXPECT_EQ(lexer.token_kind, TK_END);
}

TEST(Lexer, KeywordsNamesAndElse) {
  auto t = tokens_of("print PRINT iff left$ left a$b _x name_2$ else");
  EXPECT_EQ(t[0].kind, TK_STATEMENT);
  EXPECT_EQ(t[0].index, 6);
  EXPECT_EQ(t[1].kind, TK_NAME);
  EXPECT_EQ(t[2].kind, TK_NAME);
  EXPECT_EQ(t[3].kind, TK_FUNCTION);
  EXPECT_EQ(t[3].index, 12);
  EXPECT_EQ(t[4].kind, TK_NAME);
  EXPECT_EQ(t[5].text, "a$b");
  EXPECT_EQ(t[6].text, "_x");
  EXPECT_EQ(t[7].text, "name_2$");
  EXPECT_EQ(t[8].kind, TK_END);
  EXPECT_EQ(t[8].text, "else");
  auto e = tokens_of("ELSE");
  EXPECT_EQ(e[0].kind, TK_NAME);
}

TEST(Lexer, MakeIsANameForThePassOneReader) {
  lexer.cursor = "make";
  next_token_in(37);
  EXPECT_EQ(lexer.token_kind, TK_NAME);
  lexer.cursor = "make";
  next_token();
  EXPECT_EQ(lexer.token_kind, TK_STATEMENT);
  EXPECT_EQ(lexer.token_index, 37);
}

TEST(Lexer, QuestionMarkIsPrint) {
  auto t = tokens_of("?1");
  EXPECT_EQ(t[0].kind, TK_STATEMENT);
  EXPECT_EQ(t[0].index, 24);
  EXPECT_EQ(t[0].text, "?");
}

TEST(Lexer, Strings) {
  auto t = tokens_of("\"abc");
  EXPECT_EQ(t[0].kind, TK_STRING);
  EXPECT_EQ(t[0].text, "abc");
  EXPECT_EQ(t[1].kind, TK_END);
  auto u = tokens_of("\"a'b\"'c");
  EXPECT_EQ(u[0].text, "a'b");
  EXPECT_EQ(u[1].kind, TK_END);
}

TEST(Lexer, Numbers) {
  auto t = tokens_of("&hff &HFF &17 1. .5 1e3 1.5E+2 010 2x &hFFFFFFFF &h80000000");
  EXPECT_EQ(t[0].value, 255);
  EXPECT_EQ(t[0].text, "ff");
  EXPECT_EQ(t[1].value, 255);
  EXPECT_EQ(t[1].text, "FF");
  EXPECT_EQ(t[2].value, 15);
  EXPECT_EQ(t[3].value, 1);
  EXPECT_EQ(t[4].value, 0.5);
  EXPECT_EQ(t[5].value, 1000);
  EXPECT_EQ(t[6].value, 150);
  EXPECT_EQ(t[7].value, 10);
  EXPECT_EQ(t[8].value, 2);
  EXPECT_EQ(t[9].kind, TK_NAME);
  EXPECT_EQ(t[10].value, -1);
  EXPECT_EQ(t[11].value, -2147483648.0);
}

TEST(Lexer, OversizedLiteralsHaveDefinedValues) {
  EXPECT_EQ(tokens_of("99999999999")[0].value, 2147483647);
  EXPECT_EQ(tokens_of("&h1FFFFFFFF")[0].value, -1);  // the low 32 bits
}

TEST(Lexer, NotationErrors) {
  EXPECT_TRUE(raises("&hg"));
  EXPECT_TRUE(raises("&9"));
  EXPECT_TRUE(raises("&x"));
  EXPECT_TRUE(raises("&"));
  EXPECT_TRUE(raises("1e "));
  EXPECT_TRUE(raises("a.b"));
  EXPECT_FALSE(raises("1e-3"));
}

TEST(Lexer, Operators) {
  auto t = tokens_of("x<>y<=z>=w=<v=>u><q");
  std::vector<std::string> punct;
  for (auto& k : t)
    if (k.kind == TK_PUNCT) punct.push_back(k.text);
  EXPECT_EQ(punct, (std::vector<std::string>{"<>", "<=", ">=", "=<", "=>", "><"}));
  auto s = tokens_of("\x82\xA0");
  EXPECT_EQ(s[0].kind, TK_PUNCT);
  EXPECT_EQ(s[1].kind, TK_PUNCT);
}

TEST(Lexer, Labels) {
  auto t = tokens_of("@loop @ @a$");
  EXPECT_EQ(t[0].kind, TK_LABEL);
  EXPECT_EQ(t[0].text, "loop");
  EXPECT_EQ(t[0].index, 442);
  EXPECT_EQ(t[1].kind, TK_LABEL);
  EXPECT_EQ(t[1].text, "");
  EXPECT_EQ(t[1].index, 0);
  EXPECT_EQ(t[2].text, "a");
  EXPECT_EQ(t[3].text, "$");
}

TEST(Lexer, TokenTextIsBounded) {
  std::string line = "\"" + std::string(400, 'x') + "\" 5";
  auto t = tokens_of(line.c_str());
  EXPECT_EQ(t[0].text.size(), 259u);
  EXPECT_EQ(t[1].value, 5);
}
