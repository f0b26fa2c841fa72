#include <gtest/gtest.h>

#include "forms/IntegerOrZero.h"

namespace brontelx {
namespace {

TEST(IntegerOrZeroTest, DecimalWithinThirtyTwoBits) {
  EXPECT_EQ(IntegerOrZero("15"), 15);
  EXPECT_EQ(IntegerOrZero("   15"), 15);
  EXPECT_EQ(IntegerOrZero("+15"), 15);
  EXPECT_EQ(IntegerOrZero("-15"), -15);
  EXPECT_EQ(IntegerOrZero("007"), 7);
  EXPECT_EQ(IntegerOrZero("2147483647"), 2147483647);
  EXPECT_EQ(IntegerOrZero("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(IntegerOrZero("2147483648"), 0);
  EXPECT_EQ(IntegerOrZero("-2147483649"), 0);
  EXPECT_EQ(IntegerOrZero("99999999999999999999999"), 0);
}

TEST(IntegerOrZeroTest, HexadecimalIsAThirtyTwoBitPattern) {
  EXPECT_EQ(IntegerOrZero("$1F"), 31);
  EXPECT_EQ(IntegerOrZero("x1f"), 31);
  EXPECT_EQ(IntegerOrZero("X1F"), 31);
  EXPECT_EQ(IntegerOrZero("0x1F"), 31);
  EXPECT_EQ(IntegerOrZero("0X1f"), 31);
  EXPECT_EQ(IntegerOrZero("-0x10"), -16);
  EXPECT_EQ(IntegerOrZero("  +$10"), 16);
  EXPECT_EQ(IntegerOrZero("$FFFFFFFF"), -1);
  EXPECT_EQ(IntegerOrZero("$80000000"), -2147483647 - 1);
  EXPECT_EQ(IntegerOrZero("-$FFFFFFFF"), 1);
  EXPECT_EQ(IntegerOrZero("$000000001F"), 31);
  EXPECT_EQ(IntegerOrZero("$100000000"), 0);
}

TEST(IntegerOrZeroTest, AnythingElseIsZero) {
  for (const char* text : {"", " ", "abc", "5 ", "5\t", "\t5", "1.5", "1e3", "--5", "+-5", "-", "+", "$", "0x", "x",
                           "$G1", "0x-1", "$ 1", "- 5", "12abc", "٣"}) {
    EXPECT_EQ(IntegerOrZero(text), 0) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace brontelx
