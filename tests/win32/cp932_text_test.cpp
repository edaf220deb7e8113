#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "platform/win32/win32_platform.h"

// Through the real conversion: what code page 932 has arrives byte for byte,
// anything else as "?", never as a look-alike that reads as Windows' words.
TEST(Cp932Text, KeepsWhatTheCodePageHasAndMarksTheRest) {
  const std::pair<const wchar_t*, std::string> rows[] = {
      {L"理由: \x30bd\x8868\xff5e\x2460", "理由: ソ表～①"},  // trail byte 0x5C; the NEC row
      {L"caf\x00e9 \x301c", "caf? ?"},  // no "e" for e-acute; the wave dash is U+FF5E here
  };
  for (const auto& [text, bytes] : rows)
    EXPECT_EQ(Cp932Text(text, lstrlenW(text)), bytes) << bytes;
}
