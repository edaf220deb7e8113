#pragma once
#include <cstdint>
#include <optional>
#include <string>

// How a text becomes a signed 32-bit integer: leading spaces (0x20 only), an
// optional sign, then decimal digits, or hexadecimal digits after "$", "x",
// "X", "0x" or "0X". A hexadecimal value is a 32-bit pattern taken as signed
// ($FFFFFFFF is -1) and then negated by "-". Nothing may follow the digits.
// Empty when the text is not such an integer or does not fit.
std::optional<std::int32_t> IntegerFromText(const std::string& text);
