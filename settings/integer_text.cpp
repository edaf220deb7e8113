#include "settings/integer_text.h"

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> IntegerFromText(const std::string& text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;

  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }

  bool hex = false;
  if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    i += 1;
  } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }

  if (i == n) return std::nullopt;  // no digits at all

  // Accumulate in 64 bits so that the 32-bit bounds can be checked after
  // every digit without overflowing.
  std::uint64_t magnitude = 0;
  if (hex) {
    for (; i < n; ++i) {
      const int digit = HexDigitValue(text[i]);
      if (digit < 0) return std::nullopt;
      magnitude = magnitude * 16 + static_cast<unsigned>(digit);
      if (magnitude > 0xFFFFFFFFull) return std::nullopt;
    }
    // The pattern is negated in unsigned arithmetic: -$80000000 stays
    // -2147483648 instead of overflowing.
    std::uint32_t pattern = static_cast<std::uint32_t>(magnitude);
    if (negative) pattern = 0u - pattern;
    return static_cast<std::int32_t>(pattern);
  }

  const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
  for (; i < n; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
    if (magnitude > limit) return std::nullopt;
  }
  const std::uint32_t pattern = static_cast<std::uint32_t>(magnitude);
  return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
}
