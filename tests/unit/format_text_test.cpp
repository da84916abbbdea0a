// Tests of the shared formatter: conversions, line ends, bounds.
#include <gtest/gtest.h>

#include "base/format_text.h"

using base::format_text;

TEST(FormatText, Conversions) {
  EXPECT_EQ(format_text("%d %x", {-1, -1}), "-1 ffffffff");
  EXPECT_EQ(format_text("%D/%X", {255, 255}), "255/ff");
  EXPECT_EQ(format_text("%g", {1.0 / 3}), "0.333333");
  EXPECT_EQ(format_text("%g", {1e6}), "1e+06");
  EXPECT_EQ(format_text("%g", {100000.0}), "100000");
  EXPECT_EQ(format_text("%g", {-2.0}), "-2");
  EXPECT_EQ(format_text("%s!", {"abc"}), "abc!");
  EXPECT_EQ(format_text("%c%c", {65, 0x142}), "AB");
  EXPECT_EQ(format_text("100%%"), "100%");
}

TEST(FormatText, UnknownConversionAndLonePercent) {
  EXPECT_EQ(format_text("%q"), "q");
  EXPECT_EQ(format_text("ab%"), "ab");
}

TEST(FormatText, LineFeedBecomesCrLf) {
  EXPECT_EQ(format_text("a\nb\n"), "a\r\nb\r\n");
  // A line feed inside a %s argument is copied unchanged.
  EXPECT_EQ(format_text("%s", {"x\ny"}), "x\ny");
}

TEST(FormatText, PercentInArgumentIsNotAFormat) {
  EXPECT_EQ(format_text("%s", {"50%d"}), "50%d");
}

TEST(FormatText, BoundedTo511Bytes) {
  std::string long_text(600, 'x');
  EXPECT_EQ(format_text("%s", {long_text}).size(), 511u);
  EXPECT_EQ(format_text("%s%s", {std::string(300, 'a'), std::string(300, 'b')}).size(), 511u);
  std::string many(600, '\n');
  std::string out = format_text(many);
  EXPECT_EQ(out.size(), 511u);
}

TEST(FormatText, MissingArgumentsGiveNothingHarmful) {
  EXPECT_EQ(format_text("%d %s."), "0 .");
}

TEST(FormatText, NulEndsTheText) {
  EXPECT_EQ(format_text("a%cb", {0}), "a");
  EXPECT_EQ(format_text("[%s]", {std::string_view("ab\0cd", 5)}), "[ab]");
}
