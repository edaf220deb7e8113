#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/error.h"
#include "monitor/battery_warning.h"
#include "monitor/history.h"
#include "monitor/memory_watch.h"
#include "monitor/suspend_time.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"
#include "tests/fake/fake_platform.h"

namespace {
constexpr std::uint32_t kMB = 1u << 20;
}

TEST(SuspendTimeText, WholeMinutesHoursOnlyWhenAnyChargeOnlyWhenKnownAtBothEnds) {
  struct Case {
    std::int64_t seconds;
    std::uint8_t before, after;
    std::string text;
  };
  const Case cases[] = {
      {59, 255, 255, "サスペンド時間 0分"},
      {3599, 255, 255, "サスペンド時間 59分"},
      {3600, 255, 255, "サスペンド時間 1時間0分"},
      {25 * 3600 + 61, 255, 255, "サスペンド時間 25時間1分"},
      {-30, 255, 255, "サスペンド時間 0分"},  // the clock was set back meanwhile
      {600, 100, 0, "サスペンド時間 10分 [残100%→0%]"},
      {600, 255, 74, "サスペンド時間 10分"},
      {600, 80, 255, "サスペンド時間 10分"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SuspendTimeText(c.seconds, c.before, c.after), c.text) << c.seconds;
}

TEST(BatteryWarningDue, OnceEachTimeTheChargeFallsToTheLimitOnBattery) {
  struct Reading {
    std::uint8_t ac, percent;
    std::int32_t limit;
    bool due;
  };
  const Reading readings[] = {
      {0, 15, 0, false},    // off
      {0, 20, 20, true},    // no check yet counts as a crossing
      {0, 15, 20, false},   // still low
      {0, 255, 20, false},  // charge unknown
      {1, 15, 20, false},   // mains
      {0, 15, 20, true},
      {0, 21, 20, false},   // charged above the limit
      {0, 20, 20, true},
      {0, 19, 10, false},   // a lower limit: above it now
      {0, 10, 10, true},
      {255, 5, 10, false},  // mains state unknown is not battery
      {0, 5, 10, true},
  };
  BatteryWarning warning;
  int row = 0;
  for (const Reading& r : readings)
    EXPECT_EQ(warning.Due({r.ac, r.percent}, r.limit), r.due) << "row " << row++;
}

TEST(TopProgramsText, SameUsersLargestThreeWithoutTheProgramItself) {
  const std::string head = "\r\n\r\nメモリ使用量の多いプログラム:";
  const std::vector<ProcessMemory> processes = {
      {1, "a.exe", 100 * kMB, true},
      {2, "b.exe", 300 * kMB + kMB - 1, true},  // whole megabytes, rounded down
      {1000, "Tessaril.exe", 5000ull * kMB, true},
      {3, "c.exe", 200 * kMB, true},
      {4, "d.exe", 200 * kMB, true},  // a tie keeps the system's order
      {5, "e.exe", 9000ull * kMB, false},
  };
  EXPECT_EQ(TopProgramsText(processes, 1000), head + "\r\nb.exe 300MB\r\nc.exe 200MB\r\nd.exe 200MB");
  EXPECT_EQ(TopProgramsText({processes[2], processes[5]}, 1000), "");
  EXPECT_EQ(TopProgramsText({{2, "表.exe", 6000ull * kMB, true}}, 1000), head + "\r\n表.exe 6000MB");
}

class ExtraFeatureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MonitorSettings = TMonitorSettings();
    Form1 = &form;
    fake.files.AddDirectory("C:\\logs");
    fake.files.files[kWav];
    MonitorSettings.SaveLog = true;
    MonitorSettings.SavePath = kLog;
    MonitorSettings.WaveRes = true;
    MonitorSettings.WaveResFile = kWav;
  }
  void TearDown() override {
    Form1 = nullptr;
    MonitorSettings = TMonitorSettings();
  }
  void Broadcast(std::uintptr_t code) {
    TMessage message{0x218, code, 0, 0};
    form.WMPowerBroadcast(message);
  }
  // The list's texts without their timestamps.
  std::vector<std::string> MemoTexts() {
    std::vector<std::string> texts;
    for (const std::string& line : memo.lines) texts.push_back(line.substr(line.find(" >> ") + 4));
    return texts;
  }
  std::string& Log() { return fake.files.files[kLog].bytes; }

  const std::string kLog = "C:\\logs\\t.log";
  const std::string kWav = "C:\\logs\\alert.wav";
  FakePlatform fake;
  FakeFormWindow window;
  FakeMemo memo;
  FakeTimerDevice timer;
  TForm1 form{window, memo, timer};
};

TEST_F(ExtraFeatureTest, SuspendTimeFollowsTheFirstResumeOnly) {
  struct Step {
    std::uintptr_t code;
    int minute;  // of the system's elapsed time
    std::uint8_t percent;  // the charge the system reports then
    bool on;
    int clockHour = 5;  // where the local clock stands
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"suspend, resume", {{0x4, 0, 80, true}, {0x7, 5, 74, true}},
       {"サスペンド実行", "サスペンド復帰", "サスペンド時間 5分 [残80%→74%]"}},
      {"automatic resume comes first", {{0x4, 0, 255, true}, {0x12, 2, 255, true}, {0x6, 3, 255, true}},
       {"サスペンド実行", "復帰処理中...", "サスペンド時間 2分", "致命的な問題より復帰"}},
      {"no suspend seen", {{0x7, 5, 80, true}}, {"サスペンド復帰"}},
      {"standby resume is not one", {{0x4, 0, 80, true}, {0x8, 5, 80, true}},
       {"サスペンド実行", "スタンバイ復帰"}},
      {"switched off before the resume", {{0x4, 0, 80, true}, {0x7, 5, 74, false}, {0x7, 6, 74, true}},
       {"サスペンド実行", "サスペンド復帰", "サスペンド復帰"}},
      // The local clock goes back an hour, or on by one, while asleep.
      {"daylight-saving time ends", {{0x4, 0, 255, true, 2}, {0x7, 20, 255, true, 1}},
       {"サスペンド実行", "サスペンド復帰", "サスペンド時間 20分"}},
      {"the clock set on", {{0x4, 0, 255, true, 5}, {0x7, 5, 255, true, 6}},
       {"サスペンド実行", "サスペンド復帰", "サスペンド時間 5分"}},
  };
  for (const Case& c : cases) {
    form.LastSuspend.Forget();
    memo.lines.clear();
    Log().clear();
    for (const Step& step : c.steps) {
      MonitorSettings.Extra.SuspendLog = step.on;
      fake.clock.now = {2026, 12, 7, step.clockHour, step.minute, 0};
      fake.clock.elapsedMs = 1000000 + step.minute * 60000ull;
      fake.power.status = {0, step.percent};
      Broadcast(step.code);
    }
    EXPECT_EQ(MemoTexts(), c.texts) << c.name;
    std::string logged;
    for (const std::string& line : memo.lines) logged += line + "\r\n";
    EXPECT_EQ(Log(), logged) << c.name;
  }
}

TEST_F(ExtraFeatureTest, BatteryWarningPostedThenSoundBoxAndLogOnlyLine) {
  MonitorSettings.Extra.BatteryLimit = 20;
  fake.power.status = {0, 18};
  fake.dialogs.whileShown = [&](const FakeDialogs::Box&) {
    EXPECT_EQ(fake.sound.played, std::vector<std::string>{kWav});
    Broadcast(0xA);  // a status change inside the box's loop does not warn again
  };
  Broadcast(0xA);
  EXPECT_TRUE(fake.dialogs.boxes.empty()) << "no box while the system waits for the reply";
  ASSERT_EQ(window.batteryWarnings.size(), 1u);
  ShowBatteryWarning(window.batteryWarnings[0].first, window.batteryWarnings[0].second);
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(window.batteryWarnings.size(), 1u);
  EXPECT_EQ(fake.dialogs.boxes[0].text,
            "バッテリ残量が20%以下になりました。\r\n(現在18%)\r\n電源に接続してください。");
  EXPECT_EQ(fake.dialogs.boxes[0].caption, "情報");
  EXPECT_EQ(fake.dialogs.boxes[0].kind, MessageKind::Information);
  const std::string status = "2026/12/07 05:32:29 >> 電源状態変更(バッテリ) [残18%]";
  EXPECT_EQ(memo.lines, (std::vector<std::string>{status, status}));
  EXPECT_EQ(Log(), status + "\r\n" + status +
                       "\r\n2026/12/07 05:32:29 >> バッテリ残量が20%以下になりました\r\n");
}

TEST_F(ExtraFeatureTest, MemoryAlertListsProgramsInTheBoxOnlyWhenChosen) {
  MonitorSettings.MemoryLimit = 200;
  fake.memory.availBytes = 150 * kMB;
  fake.processes.processes = {{2, "big.exe", 700 * kMB, true}};
  CheckMemory();
  EXPECT_EQ(fake.processes.lists, 0) << "not listed while the box does not show them";
  MonitorSettings.Extra.TopPrograms = true;
  CheckMemory();
  ASSERT_EQ(fake.dialogs.boxes.size(), 2u);
  EXPECT_EQ(fake.dialogs.boxes[1].text,
            MemoryDialogText(200, 150) + "\r\n\r\nメモリ使用量の多いプログラム:\r\nbig.exe 700MB");
  const std::string alert = "2026/12/07 05:32:29 >> 使用可能メモリが200MBを切りました\r\n";
  EXPECT_EQ(Log(), alert + alert);
}

// The listing fails under the memory pressure that raised the alert.
TEST_F(ExtraFeatureTest, FailedListingStillAlertsAndTheTimerRunsOn) {
  MonitorSettings.MemoryLimit = 200;
  MonitorSettings.Extra.TopPrograms = true;
  fake.memory.availBytes = 150 * kMB;
  fake.processes.fail = true;
  form.Timer1.SetEnabled(true);
  CheckMemory();
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(fake.dialogs.boxes[0].text, MemoryDialogText(200, 150));
  EXPECT_TRUE(form.Timer1.Enabled());
}

// A write that fails shows its box, whose loop delivers the next events:
// what a suspend and a status change record must be recorded already.
TEST_F(ExtraFeatureTest, FailedLogWriteLosesNoSleepAndNoWarning) {
  History history;
  form.Samples = &history;
  MonitorSettings.Extra.SuspendLog = true;
  MonitorSettings.Extra.BatteryLimit = 20;
  fake.power.status = {0, 18};
  MonitorSettings.SavePath = "C:\\missing\\t.log";
  EXPECT_THROW(Broadcast(0x4), AppError);
  EXPECT_THROW(Broadcast(0xA), AppError);
  EXPECT_EQ(window.batteryWarnings.size(), 1u);
  MonitorSettings.SavePath = kLog;
  fake.clock.elapsedMs += 7 * 60000;
  Broadcast(0x7);
  EXPECT_EQ(MemoTexts().back(), "サスペンド時間 7分 [残18%→18%]");
  const auto sleeps = history.Sleeps(fake.clock.UtcNow());
  ASSERT_EQ(sleeps.size(), 1u);
  EXPECT_FALSE(sleeps[0].open) << "the resume found the suspend";
}

TEST_F(ExtraFeatureTest, AlertOnceWaitsForMemoryToRecover) {
  struct Case {
    bool once;
    std::vector<std::uint32_t> availMb;
    std::vector<bool> alerts;
  };
  const Case cases[] = {
      {true, {150, 150, 199, 200, 150, 150}, {true, false, false, false, true, false}},
      {false, {150, 150, 200, 150}, {true, true, false, true}},
  };
  MonitorSettings.MemoryLimit = 200;
  for (const Case& c : cases) {
    MonitorSettings.Extra.AlertOnce = c.once;
    fake.memory.availBytes = 200 * kMB;
    CheckMemory();  // recovered from the last case's alerts
    for (std::size_t i = 0; i < c.availMb.size(); ++i) {
      fake.dialogs.boxes.clear();
      fake.sound.played.clear();
      Log().clear();
      fake.memory.availBytes = c.availMb[i] * kMB;
      CheckMemory();
      const std::size_t expected = c.alerts[i] ? 1 : 0;
      EXPECT_EQ(fake.dialogs.boxes.size(), expected) << c.once << " check " << i;
      EXPECT_EQ(fake.sound.played.size(), expected) << c.once << " check " << i;
      EXPECT_EQ(Log().empty(), !c.alerts[i]) << c.once << " check " << i;
    }
  }
}
