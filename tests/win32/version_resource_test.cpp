#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win32_platform.h"
#include "shell/version.h"

// The system's own GetFileVersionInfoA and VerQueryValueA on the DLLs built
// beside this test from tests/data: how they lay out and find the blocks is
// what the fake only stands in for.
TEST(Win32VersionResource, FileVersionOfTheFirstTranslationOnly) {
  InstallWin32Platform();
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const std::string folder = std::string(exe).substr(0, std::string(exe).rfind('\\') + 1);
  const struct {
    const char* module;
    const char* expected;
  } cases[] = {
      {"version_blanks.dll", "2.0"},     // a tab and a space trimmed at each end
      {"version_enus.dll", "3.2.1.0"},   // the table the translation names, 040904B0
      {"version_mismatch.dll", "not."},  // no table for the first translation: no fallback
      {"version_none.dll", "not."},      // no version resource
  };
  for (const auto& c : cases) {
    ASSERT_NE(GetFileAttributesA((folder + c.module).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileVersionString(folder + c.module), c.expected) << c.module;
  }
}
