#include <gtest/gtest.h>

#include "app/error.h"
#include "monitor/log_file.h"
#include "settings/monitor_settings.h"
#include "tests/fake/fake_platform.h"

TEST(DatedLogFileName, DateGoesBeforeTheExtensionOfTheFileName) {
  struct Case {
    std::string path, dated;
  };
  const Case cases[] = {
      {"C:\\logs\\Tessaril.log", "C:\\logs\\Tessaril_20261207.log"},
      {"C:\\logs\\events", "C:\\logs\\events_20261207"},
      {"C:\\logs\\a.b.log", "C:\\logs\\a.b_20261207.log"},
      {"C:\\my.logs\\events", "C:\\my.logs\\events_20261207"},
      {"C:\\logs\\", "C:\\logs\\_20261207"},
      {"Tessaril.log", "Tessaril_20261207.log"},
      {"C:Tessaril.log", "C:Tessaril_20261207.log"},
      // ソ ends in 0x5C: the folder stays whole.
      {"C:\\ログソ\\x.log", "C:\\ログソ\\x_20261207.log"},
      {"C:\\ソ", "C:\\ソ_20261207"},
      {"C:\\logs\\表.txt", "C:\\logs\\表_20261207.txt"},
      {"", "_20261207"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DatedLogFileName(c.path, {2026, 12, 7, 0, 0, 0}), c.dated) << c.path;
}

class WriteLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MonitorSettings = TMonitorSettings();
    MonitorSettings.SaveLog = true;
    MonitorSettings.SavePath = kPath;
    fake.files.AddDirectory("C:\\logs");
  }
  void TearDown() override { MonitorSettings = TMonitorSettings(); }

  std::uint32_t FailureOf(const std::string& line) {
    try {
      WriteLog(line);
    } catch (const AppError& error) {
      return error.IoCode();
    }
    return 0;
  }

  const std::string kPath = "C:\\logs\\Tessaril.log";
  FakePlatform fake;
};

TEST_F(WriteLogTest, CreatesThenAppendsWholeLines) {
  WriteLog("one");
  EXPECT_EQ(fake.files.files[kPath].bytes, "one\r\n");
  WriteLog("two");
  EXPECT_EQ(fake.files.files[kPath].bytes, "one\r\ntwo\r\n");
  EXPECT_EQ(fake.files.creates, 1);
}

TEST_F(WriteLogTest, LoggingOffTouchesNothing) {
  MonitorSettings.SaveLog = false;
  MonitorSettings.SavePath = "Q:\\nowhere\\<bad>";
  EXPECT_EQ(FailureOf("x"), 0u);
  EXPECT_EQ(fake.files.opens + fake.files.creates, 0);
}

TEST_F(WriteLogTest, FailuresCarryTheOsCodeAndNeverCreateOverAFile) {
  struct Case {
    const char* name;
    std::string path;
    bool readOnly, held;
    std::uint32_t code;
  };
  const Case cases[] = {
      {"missing folder", "C:\\nofolder\\Tessaril.log", false, false, 3},
      {"read-only file", kPath, true, false, 5},
      {"held open by another program", kPath, false, true, 32},
  };
  for (const Case& c : cases) {
    fake.files.files.clear();
    MonitorSettings.SavePath = c.path;
    if (c.path == kPath) {
      fake.files.files[kPath].bytes = "old\r\n";
      fake.files.files[kPath].readOnly = c.readOnly;
      fake.files.files[kPath].heldForWriting = c.held;
    }
    fake.files.creates = 0;
    EXPECT_EQ(FailureOf("new"), c.code) << c.name;
    // A file that is there is never created anew: whether a create would
    // empty it is the real file calls' matter, tested against real files.
    if (c.path == kPath) EXPECT_EQ(fake.files.creates, 0) << c.name;
    else EXPECT_EQ(fake.files.files.count(c.path), 0u) << c.name;
  }
}

TEST_F(WriteLogTest, NextLineAfterAFailureStartsAfresh) {
  fake.files.files[kPath].bytes = "old\r\n";
  fake.files.files[kPath].heldForWriting = true;
  EXPECT_EQ(FailureOf("lost"), 32u);
  fake.files.files[kPath].heldForWriting = false;
  WriteLog("next");
  EXPECT_EQ(fake.files.files[kPath].bytes, "old\r\nnext\r\n");
}

TEST_F(WriteLogTest, OverlongAndEmptyPathsFailWithoutTouchingFiles) {
  const std::string folder = "C:\\logs\\";
  MonitorSettings.SavePath = folder + std::string(kMaxPathBytes - folder.size(), 'a');
  EXPECT_EQ(FailureOf("fits"), 0u);
  MonitorSettings.SavePath += "a";
  EXPECT_EQ(FailureOf("too long"), 206u);
  MonitorSettings.SavePath.clear();
  EXPECT_EQ(FailureOf("empty"), 3u);
  MonitorSettings.DateLog = true;
  EXPECT_EQ(FailureOf("empty, one file per day"), 3u);
  EXPECT_EQ(fake.files.files.size(), 1u);
  // With one file per day, the dated name is what must fit.
  MonitorSettings.DateLog = true;
  MonitorSettings.SavePath = folder + std::string(kMaxPathBytes - folder.size() - 5, 'b');
  EXPECT_EQ(FailureOf("dated"), 206u);
}

TEST_F(WriteLogTest, ShortWriteIsDiskFullAndCloseFailureIsReported) {
  fake.files.diskSpace = 3;
  EXPECT_EQ(FailureOf("abcdef"), 101u);
  fake.files.diskSpace = static_cast<std::size_t>(-1);
  fake.files.closeError = 112;
  EXPECT_EQ(FailureOf("x"), 112u);
}

TEST_F(WriteLogTest, DailyFileFollowsTheDateOfTheWrite) {
  MonitorSettings.DateLog = true;
  fake.clock.now = {2026, 12, 7, 23, 59, 59};
  WriteLog("late");
  fake.clock.now = {2026, 12, 8, 0, 0, 0};
  WriteLog("2026/12/07 23:59:59 >> composed before midnight");
  EXPECT_EQ(fake.files.files["C:\\logs\\Tessaril_20261207.log"].bytes, "late\r\n");
  EXPECT_EQ(fake.files.files["C:\\logs\\Tessaril_20261208.log"].bytes,
            "2026/12/07 23:59:59 >> composed before midnight\r\n");
}
