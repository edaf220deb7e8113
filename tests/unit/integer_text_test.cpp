#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "settings/integer_text.h"

namespace {
constexpr std::optional<std::int32_t> kInvalid = std::nullopt;
}

TEST(IntegerFromText, Table) {
  struct Case {
    std::string text;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"200", 200},
      {"007", 7},
      {"-5", -5},
      {"+5", 5},
      {"   150", 150},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"00000000002147483647", 2147483647},
      // Spaces lead only, and only 0x20.
      {"150 ", kInvalid},
      {"1 50", kInvalid},
      {"\t150", kInvalid},
      {"- 5", kInvalid},
      {"", kInvalid},
      {"   ", kInvalid},
      {"-", kInvalid},
      {"+", kInvalid},
      {"+-5", kInvalid},
      {"150MB", kInvalid},
      {"1.5", kInvalid},
      {"2147483648", kInvalid},
      {"-2147483649", kInvalid},
      {"99999999999999999999", kInvalid},
      // Hexadecimal after each of the prefixes, digits in either case.
      {"$10", 16},
      {"x10", 16},
      {"X10", 16},
      {"0x10", 16},
      {"0X1f", 31},
      {"$aBcD", 0xABCD},
      {"  -$10", -16},
      {"+x10", 16},
      {"$7FFFFFFF", 2147483647},
      {"0x7FFFFFFF", 2147483647},
      // The 32-bit pattern is taken as signed, then the sign applies.
      {"0x80000000", INT32_MIN},
      {"$FFFFFFFF", -1},
      {"-$FFFFFFFF", 1},
      {"-$80000000", INT32_MIN},
      {"$000000001", 1},
      {"$100000000", kInvalid},
      {"$", kInvalid},
      {"0x", kInvalid},
      {"-x", kInvalid},
      {"$G", kInvalid},
      {"$10 ", kInvalid},
      {"00x10", kInvalid},
      {"$-10", kInvalid},
  };
  for (const Case& c : cases) EXPECT_EQ(IntegerFromText(c.text), c.value) << '"' << c.text << '"';
}
