#pragma once
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

// The integer text rule's reading of a text, by other means than the
// program's: blanks, a sign, a prefix, then only digits of the base, which
// strtoll must consume to the end. The fuzz targets check the program
// against it.
namespace reference {

inline bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

inline std::optional<std::int32_t> IntegerFromText(const std::string& text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return std::nullopt;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  int base = 10;
  if (text.compare(i, 1, "$") == 0 || text.compare(i, 1, "x") == 0 ||
      text.compare(i, 1, "X") == 0) {
    base = 16;
    i += 1;
  } else if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
    base = 16;
    i += 2;
  }
  const std::string digits = text.substr(i);
  if (digits.empty()) return std::nullopt;
  for (char c : digits)
    if (base == 10 ? !(c >= '0' && c <= '9') : !IsHexDigit(c)) return std::nullopt;
  errno = 0;
  const long long magnitude = std::strtoll(digits.c_str(), nullptr, base);
  if (errno == ERANGE) return std::nullopt;
  if (base == 16) {
    if (magnitude > 0xFFFFFFFFll) return std::nullopt;
    const auto pattern = static_cast<std::uint32_t>(magnitude);
    return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace reference
