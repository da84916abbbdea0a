// Tests of number reading from text and of the saturating integer conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "machine/number_parse.h"
#include "machine/value_stack.h"

using machine::parse_number;

TEST(ParseNumber, DecimalPrefixes) {
  EXPECT_EQ(parse_number("12abc"), 12);
  EXPECT_EQ(parse_number("-3.5"), -3.5);
  EXPECT_EQ(parse_number("1e3"), 1000);
  EXPECT_EQ(parse_number("+7"), 7);
  EXPECT_EQ(parse_number(".5"), 0.5);
  EXPECT_EQ(parse_number("1."), 1);
  EXPECT_EQ(parse_number("1e"), 1);
  EXPECT_EQ(parse_number("2e+x"), 2);
  EXPECT_EQ(parse_number("-x"), 0);
  EXPECT_EQ(parse_number("+"), 0);
  EXPECT_EQ(parse_number("."), 0);
}

TEST(ParseNumber, OnlyDecimalNotation) {
  EXPECT_EQ(parse_number("0x10"), 0);
  EXPECT_EQ(parse_number("inf"), 0);
  EXPECT_EQ(parse_number("nan"), 0);
  EXPECT_EQ(parse_number("-inf"), 0);
  EXPECT_EQ(parse_number("1e400"), std::numeric_limits<double>::infinity());
}

TEST(ParseNumber, RadixForms) {
  EXPECT_EQ(parse_number("&hff"), 255);
  EXPECT_EQ(parse_number("&HFF"), 255);
  EXPECT_EQ(parse_number("&hFFFFFFFF"), -1);
  EXPECT_EQ(parse_number("&h80000000"), -2147483648.0);
  EXPECT_EQ(parse_number("&17"), 15);
  EXPECT_EQ(parse_number("&h"), 0);
  EXPECT_EQ(parse_number("&"), 0);
  EXPECT_EQ(parse_number("&9"), 0);
  EXPECT_EQ(parse_number("&h1zz"), 1);
}

TEST(ParseNumber, AnythingElseIsZero) {
  EXPECT_EQ(parse_number(""), 0);
  EXPECT_EQ(parse_number("abc"), 0);
  EXPECT_EQ(parse_number(" 12"), 0);
}

TEST(ParseNumber, LongTextReadsOnlyItsStart) {
  std::string digits(251, '1');
  std::string longer = digits + "999";
  EXPECT_EQ(parse_number(longer), parse_number(digits));
}

TEST(ToInt32, TruncatesAndSaturates) {
  EXPECT_EQ(machine::to_int32(2.9), 2);
  EXPECT_EQ(machine::to_int32(-2.9), -2);
  EXPECT_EQ(machine::to_int32(-0.5), 0);
  EXPECT_EQ(machine::to_int32(3e9), 2147483647);
  EXPECT_EQ(machine::to_int32(-3e9), -2147483647 - 1);
  EXPECT_EQ(machine::to_int32(std::numeric_limits<double>::infinity()), 2147483647);
  EXPECT_EQ(machine::to_int32(std::nan("")), 0);
}
