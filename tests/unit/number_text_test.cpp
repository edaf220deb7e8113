#include <gtest/gtest.h>

#include <climits>

#include "app/number_text.h"

TEST(NumberText, DecimalAndHexForms) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(4294967295u), "4294967295");
  EXPECT_EQ(SignedDecimalText(-5), "-5");
  EXPECT_EQ(SignedDecimalText(INT32_MIN), "-2147483648");
  EXPECT_EQ(SignedDecimalText(INT32_MAX), "2147483647");
  EXPECT_EQ(PaddedDecimalText(7, 2), "07");
  EXPECT_EQ(PaddedDecimalText(2026, 2), "2026");
  EXPECT_EQ(HexText(0, 4), "0000");
  EXPECT_EQ(HexText(0x1F, 4), "001F");
  EXPECT_EQ(HexText(0xABCDE, 4), "ABCDE");
  EXPECT_EQ(HexText(0xFFFFFFFFu, 4), "FFFFFFFF");
}
