#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/battery_warning.h"
#include "monitor/memory_watch.h"
#include "monitor/suspend_time.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"
#include "tests/fake/fake_platform.h"

namespace {
constexpr std::uint32_t kMB = 1u << 20;
}

TEST(SuspendTimeText, WholeMinutesHoursOnlyWhenThereAreAnyChargeOnlyWhenKnownAtBothEnds) {
  struct Case {
    std::int64_t seconds;
    std::uint8_t before, after;
    std::string text;
  };
  const Case cases[] = {
      {0, 255, 255, "サスペンド時間 0分"},
      {59, 255, 255, "サスペンド時間 0分"},
      {60, 255, 255, "サスペンド時間 1分"},
      {3599, 255, 255, "サスペンド時間 59分"},
      {3600, 255, 255, "サスペンド時間 1時間0分"},
      {25 * 3600 + 61, 255, 255, "サスペンド時間 25時間1分"},
      {-30, 255, 255, "サスペンド時間 0分"},  // the clock was set back meanwhile
      {600, 80, 74, "サスペンド時間 10分 [残80%→74%]"},
      {600, 100, 0, "サスペンド時間 10分 [残100%→0%]"},
      {600, 255, 74, "サスペンド時間 10分"},
      {600, 80, 255, "サスペンド時間 10分"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SuspendTimeText(c.seconds, c.before, c.after), c.text) << c.seconds;
}

TEST(SecondsBetween, AcrossDaysMonthsLeapDaysAndYears) {
  struct Case {
    LocalTime from, to;
    std::int64_t seconds;
  };
  const Case cases[] = {
      {{2026, 12, 7, 5, 32, 29}, {2026, 12, 7, 5, 32, 29}, 0},
      {{2026, 12, 31, 23, 59, 30}, {2027, 1, 1, 0, 0, 30}, 60},
      {{2024, 2, 28, 12, 0, 0}, {2024, 3, 1, 12, 0, 0}, 2 * 86400},  // 2024 is a leap year
      {{2025, 2, 28, 12, 0, 0}, {2025, 3, 1, 12, 0, 0}, 86400},
      {{2100, 2, 28, 0, 0, 0}, {2100, 3, 1, 0, 0, 0}, 86400},  // a century is not
      {{2000, 2, 28, 0, 0, 0}, {2000, 3, 1, 0, 0, 0}, 2 * 86400},  // unless a 400th year
      {{2026, 4, 30, 22, 0, 0}, {2026, 5, 1, 1, 30, 0}, 3 * 3600 + 1800},
      {{2026, 1, 1, 0, 0, 10}, {2026, 1, 1, 0, 0, 0}, -10},
  };
  for (const Case& c : cases) EXPECT_EQ(SecondsBetween(c.from, c.to), c.seconds) << c.seconds;
}

class ExtraFeatureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MonitorSettings = TMonitorSettings();
    Form1 = &form;
    fake.files.AddDirectory("C:\\logs");
    MonitorSettings.SaveLog = true;
    MonitorSettings.SavePath = kLog;
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
  std::string Log() { return fake.files.files[kLog].bytes; }

  const std::string kLog = "C:\\logs\\t.log";
  FakePlatform fake;
  FakeFormWindow window;
  FakeMemo memo;
  FakeTimerDevice timer;
  TForm1 form{window, memo, timer};
};

TEST_F(ExtraFeatureTest, SuspendTimeFollowsTheFirstResumeOnly) {
  struct Step {
    std::uintptr_t code;
    int minute;        // of the clock when it arrives
    std::uint8_t percent;  // the charge the system reports then
  };
  struct Case {
    const char* name;
    bool on;
    std::vector<Step> steps;
    std::vector<std::string> added;  // the suspend-time lines, in order
  };
  const Case cases[] = {
      {"suspend, resume", true, {{0x4, 0, 80}, {0x7, 5, 74}}, {"サスペンド時間 5分 [残80%→74%]"}},
      {"critical resume", true, {{0x4, 0, 255}, {0x6, 1, 255}}, {"サスペンド時間 1分"}},
      {"automatic resume first, then the user's", true,
       {{0x4, 0, 255}, {0x12, 2, 255}, {0x7, 3, 255}}, {"サスペンド時間 2分"}},
      {"no suspend seen", true, {{0x7, 5, 80}}, {}},
      {"standby resume is not one", true, {{0x4, 0, 80}, {0x8, 5, 80}}, {}},
      {"a second suspend starts anew", true,
       {{0x4, 0, 255}, {0x7, 5, 255}, {0x4, 10, 255}, {0x7, 40, 255}},
       {"サスペンド時間 5分", "サスペンド時間 30分"}},
      {"off", false, {{0x4, 0, 80}, {0x7, 5, 74}}, {}},
  };
  for (const Case& c : cases) {
    form.LastSuspend.Forget();
    memo.lines.clear();
    MonitorSettings.Extra.SuspendLog = c.on;
    std::vector<std::string> expected;
    for (const Step& step : c.steps) {
      fake.clock.now = {2026, 12, 7, 5, step.minute, 0};
      fake.power.status = {0, step.percent};
      Broadcast(step.code);
    }
    std::vector<std::string> added;
    const std::vector<std::string> texts = MemoTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (texts[i].rfind("サスペンド時間", 0) != 0) continue;
      added.push_back(texts[i]);
      EXPECT_TRUE(i > 0 && (texts[i - 1] == "サスペンド復帰" || texts[i - 1] == "致命的な問題より復帰" ||
                            texts[i - 1] == "復帰処理中..."))
          << c.name << ": right after the resume line";
    }
    EXPECT_EQ(added, c.added) << c.name;
  }
  EXPECT_EQ(Log().find("サスペンド時間 5分 [残80%→74%]\r\n") != std::string::npos, true)
      << "logged as well";
}

TEST_F(ExtraFeatureTest, SuspendRecordingSwitchedOffBeforeTheResumeAddsNothing) {
  MonitorSettings.Extra.SuspendLog = true;
  Broadcast(0x4);
  MonitorSettings.Extra.SuspendLog = false;
  Broadcast(0x7);
  MonitorSettings.Extra.SuspendLog = true;
  Broadcast(0x7);
  EXPECT_EQ(MemoTexts(), (std::vector<std::string>{"サスペンド実行", "サスペンド復帰", "サスペンド復帰"}));
}

TEST(BatteryWarningDue, OnceEachTimeTheChargeFallsToTheLimitOnBattery) {
  struct Reading {
    std::uint8_t ac, percent;
    std::int32_t limit;
    bool due;
  };
  const Reading readings[] = {
      {0, 15, 0, false},   // off
      {0, 20, 20, true},   // no check yet counts as a crossing
      {0, 15, 20, false},  // still low
      {0, 255, 20, false}, // charge unknown
      {0, 15, 20, false},
      {1, 15, 20, false},  // mains
      {0, 15, 20, true},
      {0, 21, 20, false},  // charged above the limit
      {0, 20, 20, true},
      {0, 19, 20, false},
      {0, 19, 10, false},  // a lower limit: above it now
      {0, 10, 10, true},
      {255, 5, 10, false}, // mains state unknown is not battery
      {0, 5, 10, true},
  };
  BatteryWarning warning;
  int row = 0;
  for (const Reading& r : readings)
    EXPECT_EQ(warning.Due({r.ac, r.percent}, r.limit), r.due) << "row " << row++;
}

TEST_F(ExtraFeatureTest, BatteryWarningSoundBoxThenLogOnlyLine) {
  MonitorSettings.Extra.BatteryLimit = 20;
  MonitorSettings.WaveRes = true;
  MonitorSettings.WaveResFile = "C:\\logs\\alert.wav";
  fake.files.files["C:\\logs\\alert.wav"];
  fake.power.status = {0, 18};
  fake.dialogs.whileShown = [&](const FakeDialogs::Box&) {
    EXPECT_EQ(fake.sound.played, std::vector<std::string>{"C:\\logs\\alert.wav"});
    Broadcast(0xA);  // a status change inside the box's loop does not warn again
  };
  Broadcast(0xA);
  fake.dialogs.whileShown = nullptr;
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(fake.dialogs.boxes[0].text,
            "バッテリ残量が20%以下になりました。\r\n(現在18%)\r\n電源に接続してください。");
  EXPECT_EQ(fake.dialogs.boxes[0].caption, "情報");
  EXPECT_EQ(fake.dialogs.boxes[0].kind, MessageKind::Information);
  EXPECT_EQ(MemoTexts(), (std::vector<std::string>{"電源状態変更(バッテリ) [残18%]",
                                                   "電源状態変更(バッテリ) [残18%]"}));
  const std::string status = "2026/12/07 05:32:29 >> 電源状態変更(バッテリ) [残18%]\r\n";
  EXPECT_EQ(Log(), status + status + "2026/12/07 05:32:29 >> バッテリ残量が20%以下になりました\r\n");

  fake.power.status = {1, 18};
  Broadcast(0xA);
  fake.power.status = {0, 17};
  MonitorSettings.WaveRes = false;
  Broadcast(0xA);
  EXPECT_EQ(fake.dialogs.boxes.size(), 2u) << "mains in between makes it a new crossing";
  EXPECT_EQ(fake.sound.played.size(), 1u) << "the sound follows the alert sound's setting";
}

TEST(TopProgramsText, SameUsersLargestThreeWithoutTheProgramItself) {
  struct Case {
    const char* name;
    std::vector<ProcessMemory> processes;
    std::string text;
  };
  const std::string head = "\r\n\r\nメモリ使用量の多いプログラム:";
  const Case cases[] = {
      {"none", {}, ""},
      {"only the program and other users'",
       {{1000, "Tessaril.exe", 900 * kMB, true}, {7, "svchost.exe", 800 * kMB, false}}, ""},
      {"largest first, three at most, ties in list order",
       {{1, "a.exe", 100 * kMB, true},
        {2, "b.exe", 300 * kMB + kMB - 1, true},  // whole megabytes, rounded down
        {1000, "Tessaril.exe", 5000ull * kMB, true},
        {3, "c.exe", 200 * kMB, true},
        {4, "d.exe", 200 * kMB, true},
        {5, "e.exe", 9000ull * kMB, false}},
       head + "\r\nb.exe 300MB\r\nc.exe 200MB\r\nd.exe 200MB"},
      {"beyond 4 GB", {{2, "big.exe", 6000ull * kMB, true}}, head + "\r\nbig.exe 6000MB"},
      {"fewer than three", {{2, "表.exe", 0, true}}, head + "\r\n表.exe 0MB"},
  };
  for (const Case& c : cases) EXPECT_EQ(TopProgramsText(c.processes, 1000), c.text) << c.name;
}

TEST_F(ExtraFeatureTest, MemoryAlertListsProgramsInTheBoxOnlyWhenChosen) {
  MonitorSettings.MemoryLimit = 200;
  fake.memory.availBytes = 150 * kMB;
  fake.processes.processes = {{2, "big.exe", 700 * kMB, true}};
  form.Timer1.SetEnabled(true);
  CheckMemory();
  EXPECT_EQ(fake.processes.lists, 0) << "not listed while the box does not show them";
  MonitorSettings.Extra.TopPrograms = true;
  CheckMemory();
  ASSERT_EQ(fake.dialogs.boxes.size(), 2u);
  EXPECT_EQ(fake.dialogs.boxes[1].text,
            fake.dialogs.boxes[0].text + "\r\n\r\nメモリ使用量の多いプログラム:\r\nbig.exe 700MB");
  EXPECT_EQ(Log(), "2026/12/07 05:32:29 >> 使用可能メモリが200MBを切りました\r\n"
                   "2026/12/07 05:32:29 >> 使用可能メモリが200MBを切りました\r\n");
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
  MonitorSettings.WaveRes = true;
  MonitorSettings.WaveResFile = "C:\\logs\\alert.wav";
  fake.files.files["C:\\logs\\alert.wav"];
  for (const Case& c : cases) {
    MonitorSettings.Extra.AlertOnce = c.once;
    fake.memory.availBytes = 200 * kMB;
    CheckMemory();  // recovered from the last case's alerts
    for (std::size_t i = 0; i < c.availMb.size(); ++i) {
      fake.dialogs.boxes.clear();
      fake.sound.played.clear();
      fake.files.files.erase(kLog);
      fake.memory.availBytes = c.availMb[i] * kMB;
      CheckMemory();
      EXPECT_EQ(fake.dialogs.boxes.size(), c.alerts[i] ? 1u : 0u) << c.once << " check " << i;
      EXPECT_EQ(fake.sound.played.size(), c.alerts[i] ? 1u : 0u) << c.once << " check " << i;
      EXPECT_EQ(fake.files.files.count(kLog), c.alerts[i] ? 1u : 0u) << c.once << " check " << i;
    }
  }
}
