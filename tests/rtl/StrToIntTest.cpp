// The runtime's integer conversion, which settings values go through.
#include "rtl/StrToInt.h"

#include <gtest/gtest.h>

#include "rtl/RuntimeErrors.h"

namespace rtl {
namespace {

TEST(StrToIntTest, DecimalWithBlanksAndSign) {
  EXPECT_EQ(TryStrToInt("0"), 0);
  EXPECT_EQ(TryStrToInt("42"), 42);
  EXPECT_EQ(TryStrToInt("   42"), 42);
  EXPECT_EQ(TryStrToInt("+7"), 7);
  EXPECT_EQ(TryStrToInt("-7"), -7);
  EXPECT_EQ(TryStrToInt("  -007"), -7);
  EXPECT_EQ(TryStrToInt("-0"), 0);
}

TEST(StrToIntTest, Hexadecimal) {
  EXPECT_EQ(TryStrToInt("$1F"), 31);
  EXPECT_EQ(TryStrToInt("$1f"), 31);
  EXPECT_EQ(TryStrToInt(" -$10"), -16);
  EXPECT_EQ(TryStrToInt("$7FFFFFFF"), INT32_MAX);
  EXPECT_EQ(TryStrToInt("$80000000"), INT32_MIN);
  EXPECT_EQ(TryStrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(TryStrToInt("$100000000"), std::nullopt);
  EXPECT_EQ(TryStrToInt("$"), std::nullopt);
  EXPECT_EQ(TryStrToInt("0x"), std::nullopt);
  EXPECT_EQ(TryStrToInt("$1G"), std::nullopt);
}

TEST(StrToIntTest, RangeEdges) {
  EXPECT_EQ(TryStrToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(TryStrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(TryStrToInt("2147483648"), std::nullopt);
  EXPECT_EQ(TryStrToInt("-2147483649"), std::nullopt);
  EXPECT_EQ(TryStrToInt("99999999999999999999999"), std::nullopt);
  EXPECT_EQ(TryStrToInt("000000000000000000000012"), 12);
}

TEST(StrToIntTest, TextThatDoesNotConvertCompletely) {
  for (const char* bad : {"", " ", "+", "-", "12a", "1 ", "1.5", "a1", "--1", "+-1", "\t1", "1e3",
                          "0x-1", "12\n", "0x10", "0X10", " 0x10", "-0x10", "+0x10"}) {
    EXPECT_EQ(TryStrToInt(bad), std::nullopt) << '"' << bad << '"';
  }
}

TEST(StrToIntTest, StrToIntRaisesWithTheText) {
  EXPECT_EQ(StrToInt(" 12"), 12);
  try {
    StrToInt("abc");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt(""), EConvertError);
}

}  // namespace
}  // namespace rtl
