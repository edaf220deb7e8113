#pragma once
#include <cstdint>
#include <string>

// The string-table key of a translation value read as one little-endian
// 32-bit number: language digits, then code page digits ("041103A4").
std::string VersionKey(std::uint32_t translation);

// The text without characters of code 0x20 or below at either end.
std::string TrimBlanks(const std::string& text);

// The trimmed "FileVersion" of the file's version resource, looked up in the
// string table of its first translation only; "not." when there is none.
std::string GetFileVersionString(const std::string& fileName);
