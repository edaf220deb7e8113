#pragma once
#include <cstdint>
#include <string>

// Numbers as the program prints them: plain decimal, no grouping.
std::string DecimalText(std::uint32_t value);
std::string SignedDecimalText(std::int32_t value);
// At least `minDigits` digits, padded with leading zeros.
std::string PaddedDecimalText(std::uint32_t value, int minDigits);
// Upper-case hexadecimal, zero-padded to at least `minDigits`, never cut.
std::string HexText(std::uint32_t value, int minDigits);
