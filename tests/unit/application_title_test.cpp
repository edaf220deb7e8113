#include <gtest/gtest.h>

#include "app/application.h"

TEST(ApplicationTitle, FileNameCutAtFirstDotAndLowered) {
  struct Case {
    std::string path, title;
  };
  const Case cases[] = {
      {"C:\\Apps\\Tessaril.exe", "Tessaril"},
      {"C:\\Apps\\TESSARIL.EXE", "Tessaril"},
      {"C:\\a.b\\my.app.exe", "my"},
      {"tessaril", "tessaril"},
      {"C:\\Apps\\XY", "Xy"},
      // ソ (83 5C) and ア (83 41): trail bytes are neither separators nor letters.
      {"C:\\ソフト\\Aアプリ.exe", "Aアプリ"},
  };
  for (const Case& c : cases) EXPECT_EQ(ApplicationTitle(c.path), c.title) << c.path;
}
