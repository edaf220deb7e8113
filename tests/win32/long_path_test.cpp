#include <gtest/gtest.h>

#include "app/error.h"
#include "monitor/log_file.h"
#include "platform/win32/win32_platform.h"
#include "settings/monitor_settings.h"
#include "tests/win32/temp_dir.h"
#include "tests/win32/write_log_report.h"

// Paths at and past 259 bytes, the limit of the ANSI file calls: the log,
// the sound files and the settings file either work or fail cleanly.

namespace {

// A path of exactly `length` bytes in `dir`, ending in `extension`.
std::string PathOfLength(const TempDir& dir, std::size_t length, const std::string& extension) {
  const std::size_t fixed = dir.path().size() + 1 + extension.size();
  if (length < fixed + 1) throw std::logic_error("the temp folder's path is too long");
  return dir.File(std::string(length - fixed, 'a') + extension);
}

}  // namespace

class LongLogPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Platform();
    MonitorSettings = TMonitorSettings();
    MonitorSettings.SaveLog = true;
  }
  void TearDown() override { MonitorSettings = TMonitorSettings(); }
  TempDir dir;
};

TEST_F(LongLogPathTest, UpTo259BytesTheLineIsWrittenBeyondItIsAnErrorAndNoFile) {
  struct Case {
    std::size_t length;
    bool dated;
    const char* report;
  };
  const Case cases[] = {
      {259, false, ""},
      {260, false, "I/O エラー (206)"},
      {2047, false, "I/O エラー (206)"},  // the longest value the settings file gives
      {250, true, ""},                    // "_yyyymmdd" makes it 259
      {251, true, "I/O エラー (206)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + (c.dated ? " dated" : ""));
    MonitorSettings.SavePath = PathOfLength(dir, c.length, ".log");
    MonitorSettings.DateLog = c.dated;
    EXPECT_EQ(WriteLogReport("line"), c.report);
    if (*c.report == '\0') {
      const std::string file = LogFileName();
      EXPECT_EQ(file.size(), 259u);
      EXPECT_EQ(ReadFileBytes(file), "line\r\n");
      DeleteFileA(file.c_str());
    }
    EXPECT_EQ(FilesIn(dir.path()), 0);
  }
}

TEST(LongPaths, SoundFileTestAnswersNoPastTheLimitWithoutAnOverrun) {
  TempDir dir;
  Win32FileSystem files;
  const std::string wav259 = PathOfLength(dir, 259, ".wav");
  WriteFileBytes(wav259, "RIFF");
  EXPECT_TRUE(files.FileExists(wav259));
  EXPECT_FALSE(files.DirectoryExists(wav259));
  for (std::size_t length : {260u, 261u, 2047u, 5000u}) {
    const std::string path = PathOfLength(dir, length, ".wav");
    EXPECT_FALSE(files.FileExists(path)) << length;
    EXPECT_FALSE(files.DirectoryExists(path)) << length;
  }
}

TEST(LongPaths, SettingsFileInAFolderPastTheLimitReadsDefaults) {
  TempDir dir;
  Win32Profile profile;
  const std::string ini259 = PathOfLength(dir, 259, ".ini");
  ASSERT_TRUE(profile.Write(ini259, "main", "MemoryLimit", "150"));
  EXPECT_EQ(profile.Read(ini259, "main", "MemoryLimit", "200"), "150");
  DeleteFileA(ini259.c_str());
  for (std::size_t length : {260u, 261u, 2047u, 5000u})
    EXPECT_EQ(profile.Read(PathOfLength(dir, length, ".ini"), "main", "MemoryLimit", "200"), "200")
        << length;
}
