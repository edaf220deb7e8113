#include <gtest/gtest.h>

#include "app/error.h"
#include "monitor/log_file.h"
#include "platform/win32/win32_platform.h"
#include "settings/monitor_settings.h"
#include "tests/win32/temp_dir.h"
#include "tests/win32/write_log_report.h"

class RealWriteLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Platform();
    MonitorSettings = TMonitorSettings();
    MonitorSettings.SaveLog = true;
    MonitorSettings.SavePath = dir.File("Tessaril.log");
  }
  void TearDown() override { MonitorSettings = TMonitorSettings(); }

  TempDir dir;
};

TEST_F(RealWriteLogTest, CreatesThenAppendsWithCrLf) {
  EXPECT_EQ(WriteLogReport("電源状態変更"), "");
  EXPECT_EQ(ReadFileBytes(MonitorSettings.SavePath), "電源状態変更\r\n");
  EXPECT_EQ(WriteLogReport("second"), "");
  EXPECT_EQ(ReadFileBytes(MonitorSettings.SavePath), "電源状態変更\r\nsecond\r\n");
}

TEST_F(RealWriteLogTest, MissingFolderIsReportedAndNothingIsCreated) {
  MonitorSettings.SavePath = dir.File("nofolder\\Tessaril.log");
  EXPECT_EQ(WriteLogReport("x"), "ファイル名の指定が間違っています.");
  EXPECT_EQ(GetFileAttributesA(dir.File("nofolder").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RealWriteLogTest, FileHeldOpenForWritingKeepsItsBytes) {
  WriteFileBytes(MonitorSettings.SavePath, "old\r\n");
  HANDLE other = CreateFileA(MonitorSettings.SavePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                             nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(WriteLogReport("lost"), "I/O エラー (32)");
  CloseHandle(other);
  EXPECT_EQ(ReadFileBytes(MonitorSettings.SavePath), "old\r\n");
  EXPECT_EQ(WriteLogReport("next"), "");
  EXPECT_EQ(ReadFileBytes(MonitorSettings.SavePath), "old\r\nnext\r\n");
}

TEST_F(RealWriteLogTest, ShiftJisFolderEndingInTrailByte5C) {
  const std::string folder = dir.File("ログソ");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  MonitorSettings.SavePath = folder + "\\x.log";
  MonitorSettings.DateLog = true;
  EXPECT_EQ(WriteLogReport("dated"), "");
  const std::string dated = LogFileName();
  EXPECT_EQ(dated.substr(0, folder.size() + 3), folder + "\\x_");
  EXPECT_EQ(ReadFileBytes(dated), "dated\r\n");
  DeleteFileA(dated.c_str());
  RemoveDirectoryA(folder.c_str());
}
