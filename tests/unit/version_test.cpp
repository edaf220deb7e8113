#include <gtest/gtest.h>

#include "shell/version.h"
#include "tests/fake/fake_platform.h"

namespace {
std::string Pair(std::uint16_t language, std::uint16_t codePage) {
  const std::uint32_t value = language | (static_cast<std::uint32_t>(codePage) << 16);
  return std::string(reinterpret_cast<const char*>(&value), 4);
}
}  // namespace

TEST(VersionKey, LanguageDigitsThenCodePageDigits) {
  EXPECT_EQ(VersionKey(0x03A40411), "041103A4");
  EXPECT_EQ(VersionKey(0x04B00409), "040904B0");
  EXPECT_EQ(VersionKey(0), "00000000");
}

TEST(TrimBlanks, RemovesControlCharactersAndSpacesAtBothEnds) {
  EXPECT_EQ(TrimBlanks("  2.0 "), "2.0");
  EXPECT_EQ(TrimBlanks("\t 2.0 \t\r\n"), "2.0");
  EXPECT_EQ(TrimBlanks("1 . 0"), "1 . 0");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks("\x81\x40"), "\x81\x40");  // a full-width space is not trimmed
}

TEST(GetFileVersionString, FirstTranslationOnlyAndNotDotOtherwise) {
  struct Case {
    const char* name;
    std::map<std::string, std::string> values;
    bool hasBlock, readFails;
    std::string result;
  };
  const std::string ja = "\\StringFileInfo\\041103A4\\FileVersion";
  const std::string us = "\\StringFileInfo\\040904B0\\FileVersion";
  const std::string tr = "\\VarFileInfo\\Translation";
  const Case cases[] = {
      {"own", {{tr, Pair(0x0411, 0x03A4)}, {ja, std::string("1.1.0.0\0", 8)}}, true, false, "1.1.0.0"},
      {"us key", {{tr, Pair(0x0409, 0x04B0)}, {us, "3.2.1.0"}}, true, false, "3.2.1.0"},
      {"blanks", {{tr, Pair(0x0411, 0x03A4)}, {ja, "\t 2.0 \t"}}, true, false, "2.0"},
      {"only blanks", {{tr, Pair(0x0411, 0x03A4)}, {ja, "   "}}, true, false, ""},
      {"no block", {}, false, false, "not."},
      {"read fails", {{tr, Pair(0x0411, 0x03A4)}, {ja, "1.1.0.0"}}, true, true, "not."},
      {"no translation", {{ja, "1.1.0.0"}}, true, false, "not."},
      {"other table only", {{tr, Pair(0x0411, 0x03A4)}, {us, "4.3.2.1"}}, true, false, "not."},
      {"second pair ignored",
       {{tr, Pair(0x0411, 0x03A4) + Pair(0x0409, 0x04B0)}, {us, "4.3.2.1"}}, true, false, "not."},
  };
  for (const Case& c : cases) {
    FakePlatform fake;
    fake.version.values = c.values;
    fake.version.hasBlock = c.hasBlock;
    fake.version.readFails = c.readFails;
    EXPECT_EQ(GetFileVersionString("C:\\x.exe"), c.result) << c.name;
  }
}
