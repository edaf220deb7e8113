#pragma once
#include <cstddef>
#include <string>

// Paths are Shift-JIS (code page 932) bytes. They are scanned by characters,
// not bytes, so a trail byte 0x5C is never taken for a "\" separator.

bool IsSjisLeadByte(unsigned char byte);

// The text up to and including its last "\" or ":"; empty when there is none.
std::string DirectoryPart(const std::string& path);

// Index of the last "." at a character boundary at or after `from`, or npos.
std::size_t LastDotFrom(const std::string& text, std::size_t from);
