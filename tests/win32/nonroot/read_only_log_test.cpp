#include <gtest/gtest.h>

#include "app/error.h"
#include "monitor/log_file.h"
#include "platform/win32/win32_platform.h"
#include "settings/monitor_settings.h"
#include "tests/win32/temp_dir.h"
#include "tests/win32/write_log_report.h"

// Read-only files and folders bind only an ordinary user under Wine: these
// tests run as one (run-as-nobody.sh) and check first that the protection
// holds, so they cannot pass on a file that was writable all along.

namespace {

constexpr DWORD kAccessDenied = 5;
const std::string kOldBytes = "2026/12/07 05:32:29 >> サスペンド要求\r\n";

// The error of a plain open for writing, as another program would try it.
DWORD WriteOpenError(const std::string& path, DWORD disposition) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(h);
  return 0;
}

}  // namespace

class ReadOnlyLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Platform();
    MonitorSettings = TMonitorSettings();
    MonitorSettings.SaveLog = true;
    MonitorSettings.SavePath = path;
    WriteFileBytes(path, kOldBytes);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_EQ(WriteOpenError(path, OPEN_EXISTING), kAccessDenied)
        << "read-only is not enforced: run as a non-root user";
  }
  void TearDown() override {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    MonitorSettings = TMonitorSettings();
  }

  TempDir dir;
  const std::string path = dir.File("Tessaril.log");
};

TEST_F(ReadOnlyLogTest, OpenAndCreateAreDeniedAndTheBytesStay) {
  Win32FileSystem files;
  std::uint32_t error = 0;
  EXPECT_EQ(files.OpenForAppend(path, error), nullptr);
  EXPECT_EQ(error, kAccessDenied);
  // The writer never creates over an existing file; a creation that would
  // empty it is refused by the system as well.
  EXPECT_EQ(files.CreateNew(path, error), nullptr);
  EXPECT_EQ(WriteOpenError(path, CREATE_ALWAYS), kAccessDenied);

  EXPECT_EQ(WriteLogReport("電源状態変更"), "ファイルへのアクセスが拒否されました.");
  EXPECT_EQ(WriteLogReport("電源状態変更"), "ファイルへのアクセスが拒否されました.");
  EXPECT_EQ(ReadFileBytes(path), kOldBytes);
}

TEST_F(ReadOnlyLogTest, DatedFileInAFolderOfAnotherOwnerIsDeniedAndNotCreated) {
  // A new day's file where this user may not write: the folder of this exe,
  // which belongs to the user who built it. The creation fails, nothing
  // appears.
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder = exe;
  folder.erase(folder.find_last_of('\\'));
  const std::string probe = folder + "\\probe.tmp";
  const DWORD probeError = WriteOpenError(probe, CREATE_NEW);
  if (probeError == 0) DeleteFileA(probe.c_str());
  ASSERT_EQ(probeError, kAccessDenied) << folder << " is writable: run as a non-root user";

  MonitorSettings.SavePath = folder + "\\Tessaril.log";
  MonitorSettings.DateLog = true;
  EXPECT_EQ(WriteLogReport("x"), "ファイルへのアクセスが拒否されました.");
  EXPECT_EQ(GetFileAttributesA(LogFileName().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ReadOnlyLogTest, WritingResumesOnceTheFileIsWritableAgain) {
  EXPECT_EQ(WriteLogReport("lost"), "ファイルへのアクセスが拒否されました.");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(WriteLogReport("next"), "");
  EXPECT_EQ(ReadFileBytes(path), kOldBytes + "next\r\n");
}
