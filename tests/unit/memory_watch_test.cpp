#include <gtest/gtest.h>

#include "app/error.h"
#include "monitor/memory_watch.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"
#include "tests/fake/fake_platform.h"

namespace {
constexpr std::uint32_t kMB = 1u << 20;
}

TEST(MemoryTexts, AlertAndDialogBytes) {
  EXPECT_EQ(MemoryAlertText(200), "使用可能メモリが200MBを切りました");
  EXPECT_EQ(MemoryDialogText(200, 150),
            "使用可能メモリが200MBを切りました。\r\n(現在150MB)\r\n"
            "不要なアプリケーションを終了してください。");
  EXPECT_EQ(MemoryAlertText(static_cast<std::uint32_t>(-5)), "使用可能メモリが4294967291MBを切りました");
}

TEST(TTimerTest, OnWhileOnKeepsTheRunningIntervalAndRefusalIsAnError) {
  FakeTimerDevice device;
  TTimer timer(device, 60000);
  EXPECT_FALSE(timer.Enabled());
  timer.SetEnabled(true);
  timer.SetEnabled(true);
  EXPECT_EQ(device.starts, 1);
  EXPECT_EQ(device.interval, 60000u);
  timer.SetEnabled(false);
  EXPECT_FALSE(device.running);
  timer.SetEnabled(true);
  EXPECT_EQ(device.starts, 2) << "on from off starts a full new interval";
  timer.SetEnabled(false);
  device.refuse = true;
  try {
    timer.SetEnabled(true);
    FAIL();
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "タイマーを取得できません");
  }
  EXPECT_FALSE(timer.Enabled());
}

class CheckMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MonitorSettings = TMonitorSettings();
    MonitorSettings.MemoryLimit = 200;
    Form1 = &form;
    form.Timer1.SetEnabled(true);
    fake.files.AddDirectory("C:\\logs");
    fake.files.files["C:\\snd\\alert.wav"];
    fake.files.AddDirectory("C:\\snd");
  }
  void TearDown() override {
    Form1 = nullptr;
    MonitorSettings = TMonitorSettings();
  }
  void LogTo(const std::string& path) {
    MonitorSettings.SaveLog = true;
    MonitorSettings.SavePath = path;
  }

  FakePlatform fake;
  FakeFormWindow window;
  FakeMemo memo;
  FakeTimerDevice timer;
  TForm1 form{window, memo, timer};
};

TEST_F(CheckMemoryTest, AlertsOnlyBelowTheLimitInWholeMegabytes) {
  struct Case {
    std::int32_t limit;
    std::uint32_t availBytes;
    bool alerts;
    const char* shownAvail;
  };
  const Case cases[] = {
      {200, 200 * kMB, false, nullptr},
      {200, 199 * kMB, true, "(現在199MB)"},
      {200, 209715199u, true, "(現在199MB)"},  // one byte short of 200 MB
      {0, 0, false, nullptr},                  // 0 switches the watch off
      {4095, 0xFFFFFFFFu, false, nullptr},
      {4096, 0xFFFFFFFFu, true, "(現在4095MB)"},  // more than a 32-bit count can show
      {-1, 0xFFFFFFFFu, true, "(現在4095MB)"},    // negative limits read unsigned
  };
  for (const Case& c : cases) {
    fake.dialogs.boxes.clear();
    MonitorSettings.MemoryLimit = c.limit;
    fake.memory.availBytes = c.availBytes;
    CheckMemory();
    ASSERT_EQ(fake.dialogs.boxes.size(), c.alerts ? 1u : 0u) << c.limit << " " << c.availBytes;
    if (c.alerts) {
      EXPECT_NE(fake.dialogs.boxes[0].text.find(c.shownAvail), std::string::npos);
      EXPECT_EQ(fake.dialogs.boxes[0].caption, "情報");
      EXPECT_EQ(fake.dialogs.boxes[0].kind, MessageKind::Information);
    }
  }
}

TEST_F(CheckMemoryTest, AlertLogsAfterTheDialogWithTheTimerPaused) {
  LogTo("C:\\logs\\t.log");
  fake.memory.availBytes = 150 * kMB;
  fake.clock.now = {2024, 5, 1, 13, 40, 0};
  fake.dialogs.whileShown = [&](const FakeDialogs::Box&) {
    EXPECT_FALSE(form.Timer1.Enabled()) << "no second alert can start in the dialog's loop";
    fake.clock.now = {2024, 5, 1, 13, 45, 10};  // the user takes a while
  };
  CheckMemory();
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(fake.dialogs.boxes[0].text, MemoryDialogText(200, 150));
  EXPECT_EQ(fake.files.files["C:\\logs\\t.log"].bytes,
            "2024/05/01 13:45:10 >> 使用可能メモリが200MBを切りました\r\n");
  EXPECT_TRUE(memo.lines.empty()) << "the alert line never reaches the list";
  EXPECT_TRUE(form.Timer1.Enabled());
  EXPECT_EQ(timer.starts, 2) << "re-armed: a full new minute";
}

TEST_F(CheckMemoryTest, SoundOnlyWhenEnabledAndAFileExists) {
  struct Case {
    bool enabled;
    std::string file;
    bool plays;
  };
  const Case cases[] = {
      {false, "C:\\snd\\alert.wav", false},
      {true, "C:\\snd\\alert.wav", true},
      {true, "", false},
      {true, "C:\\snd", false},
      {true, "C:\\snd\\missing.wav", false},
  };
  fake.memory.availBytes = 10 * kMB;
  for (const Case& c : cases) {
    fake.sound.played.clear();
    fake.dialogs.boxes.clear();
    MonitorSettings.WaveRes = c.enabled;
    MonitorSettings.WaveResFile = c.file;
    CheckMemory();
    EXPECT_EQ(fake.sound.played.size(), c.plays ? 1u : 0u) << c.file;
    EXPECT_EQ(fake.dialogs.boxes.size(), 1u) << "the rest of the alert is unchanged";
  }
}

TEST_F(CheckMemoryTest, LoggingOffStillAlertsAndRearms) {
  fake.memory.availBytes = 10 * kMB;
  CheckMemory();
  EXPECT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(fake.files.opens + fake.files.creates, 0);
  EXPECT_TRUE(form.Timer1.Enabled());
}

TEST_F(CheckMemoryTest, FailedLogWriteIsReportedAndTheWatchRunsOn) {
  LogTo("C:\\nofolder\\t.log");
  fake.memory.availBytes = 10 * kMB;
  EXPECT_THROW(CheckMemory(), AppError);
  EXPECT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_TRUE(form.Timer1.Enabled());
}

TEST_F(CheckMemoryTest, RefusedTimerAfterTheAlertIsReported) {
  fake.memory.availBytes = 10 * kMB;
  timer.refuse = true;
  try {
    CheckMemory();
    FAIL();
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "タイマーを取得できません");
  }
}

TEST_F(CheckMemoryTest, PowerEventsInsideTheDialogAreLoggedBeforeTheAlert) {
  LogTo("C:\\logs\\t.log");
  fake.memory.availBytes = 10 * kMB;
  fake.dialogs.whileShown = [&](const FakeDialogs::Box&) {
    TMessage broadcast{0x218, 0x000A, 0, 0};
    form.WMPowerBroadcast(broadcast);
  };
  CheckMemory();
  const std::string& log = fake.files.files["C:\\logs\\t.log"].bytes;
  EXPECT_LT(log.find("電源状態変更"), log.find("使用可能メモリ"));
  EXPECT_EQ(memo.lines.size(), 1u);
}
