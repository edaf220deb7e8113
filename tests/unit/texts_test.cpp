#include <gtest/gtest.h>

#include <string>

#include "app/error.h"
#include "app/texts.h"

TEST(Texts, LiteralsAreCompiledToShiftJisBytes) {
  const std::string expected = "\x93\x64\x8c\xb9\x8f\xf3\x91\xd4\x95\xcf\x8d\x58";
  EXPECT_EQ(std::string(texts::kPowerStatusChange), expected);
  // ソ keeps its trail byte 0x5C.
  EXPECT_EQ(std::string("ソ"), std::string("\x83\x5c"));
}

TEST(IoErrorText, TableAndReportRule) {
  struct Case {
    std::uint32_t code;
    std::string report;
  };
  const Case cases[] = {
      {2, "ファイルが見つかりません."},
      {3, "ファイル名の指定が間違っています."},
      {4, "オープンしたファイルが多すぎます."},
      {5, "ファイルへのアクセスが拒否されました."},
      {100, "ファイルの末尾以降を読み込みました."},
      {101, "ディスクがいっぱいです."},
      {106, "入力値が数値ではありません."},
      {32, "I/O エラー (32)"},  // ")" sorts below ".": nothing added
      {206, "I/O エラー (206)"},
      {0xFFFFFFFFu, "I/O エラー (-1)"},
  };
  for (const Case& c : cases) {
    const AppError error = AppError::Io(c.code);
    EXPECT_EQ(error.IoCode(), c.code);
    EXPECT_EQ(ErrorReportText(error.what()), c.report) << c.code;
  }
}

TEST(ErrorReportText, AppendsDotOnlyAboveDotInByteOrder) {
  struct Case {
    std::string message, shown;
  };
  const Case cases[] = {
      {"", ""},
      {"abc", "abc."},
      {"done.", "done."},
      {"(x)", "(x)"},
      {"a-", "a-"},    // '-' 0x2D sorts below '.'
      {"a/", "a/."},   // '/' 0x2F sorts above
      {"すでに起動されています。", "すでに起動されています。."},  // ends in a high byte
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorReportText(c.message), c.shown) << c.message;
}
