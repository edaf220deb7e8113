#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/win32_platform.h"
#include "shell/version.h"

// The reader against the system's own GetFileVersionInfoA and
// VerQueryValueA, on DLLs built beside this test from tests/data: how the
// real calls lay out and find the blocks is what no fake can stand in for.
TEST(Win32VersionResource, FileVersionOfTheFirstTranslationOnly) {
  InstallWin32Platform();
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder = exe;
  folder.resize(folder.find_last_of('\\') + 1);
  struct Case {
    const char* module;
    bool built;
    const char* expected;
  };
  const Case cases[] = {
      {"version_blanks.dll", true, "2.0"},     // tab and space trimmed at both ends
      {"version_enus.dll", true, "3.2.1.0"},   // table named by the translation, 040904B0
      {"version_mismatch.dll", true, "not."},  // no table for the first translation: no fallback
      {"version_none.dll", true, "not."},      // no version resource at all
      {"version_missing.dll", false, "not."},  // no such file
  };
  for (const Case& c : cases) {
    const std::string path = folder + c.module;
    const bool exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    ASSERT_EQ(exists, c.built) << path;
    EXPECT_EQ(GetFileVersionString(path), c.expected) << c.module;
  }
}
