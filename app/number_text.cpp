#include "app/number_text.h"

#include <algorithm>

std::string PaddedDecimalText(std::uint32_t value, int minDigits) {
  std::string digits;
  do {
    digits += static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (static_cast<int>(digits.size()) < minDigits) digits += '0';
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::string DecimalText(std::uint32_t value) { return PaddedDecimalText(value, 1); }

std::string SignedDecimalText(std::int32_t value) {
  if (value >= 0) return DecimalText(static_cast<std::uint32_t>(value));
  // Negate in unsigned arithmetic so that INT32_MIN does not overflow.
  return "-" + DecimalText(0u - static_cast<std::uint32_t>(value));
}

std::string HexText(std::uint32_t value, int minDigits) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string digits;
  do {
    digits += kDigits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  while (static_cast<int>(digits.size()) < minDigits) digits += '0';
  std::reverse(digits.begin(), digits.end());
  return digits;
}
