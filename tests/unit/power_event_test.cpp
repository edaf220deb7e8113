#include <gtest/gtest.h>

#include "app/error.h"
#include "monitor/power_event.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"
#include "tests/fake/fake_platform.h"

TEST(PowerEventText, EveryKnownCodeAndNothingElse) {
  struct Case {
    std::uint32_t code;
    std::uint32_t data;
    std::string text;
  };
  const Case cases[] = {
      {0x0000, 0, "サスペンド要求"},
      {0x0001, 0, "スタンバイ要求"},
      {0x0002, 0, "サスペンド失敗"},
      {0x0003, 0, "スタンバイ失敗"},
      {0x0004, 0, "サスペンド実行"},
      {0x0005, 0, "スタンバイ実行"},
      {0x0006, 0, "致命的な問題より復帰"},
      {0x0007, 0, "サスペンド復帰"},
      {0x0008, 0, "スタンバイ復帰"},
      {0x0009, 0, "電源不足"},
      {0x000A, 0, "電源状態変更"},
      {0x000B, 0, "OEMイベント:0000"},
      {0x000B, 0x1F, "OEMイベント:001F"},
      {0x000B, 0xABCDE, "OEMイベント:ABCDE"},
      {0x000B, 0x12345, "OEMイベント:12345"},
      {0x000B, 0xFFFFFFFFu, "OEMイベント:FFFFFFFF"},
      {0x0012, 0, "復帰処理中..."},
      {0x8013, 0, "電源設定変更"},
      {0x000C, 0, ""},
      {0x0011, 0, ""},
      {0x0013, 0, ""},
      {0x8012, 0, ""},
      {0xFFFFFFFFu, 0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PowerEventText(c.code, c.data), c.text) << c.code;
}

TEST(PowerStatusSuffix, MainsBatteryAndUnknown) {
  EXPECT_EQ(PowerStatusSuffix({1, 85}), "(ACアダプタ) [残85%]");
  EXPECT_EQ(PowerStatusSuffix({0, 7}), "(バッテリ) [残7%]");
  EXPECT_EQ(PowerStatusSuffix({255, 255}), "(ACアダプタ) [残255%]");
  EXPECT_EQ(PowerStatusSuffix({0, 0}), "(バッテリ) [残0%]");
}

class WMPowerBroadcastTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MonitorSettings = TMonitorSettings();
    fake.files.AddDirectory("C:\\logs");
  }
  void TearDown() override { MonitorSettings = TMonitorSettings(); }

  TMessage Broadcast(std::uintptr_t code, std::intptr_t data = 0) {
    TMessage message{0x218, code, data, 0};
    form.WMPowerBroadcast(message);
    return message;
  }

  FakePlatform fake;
  FakeFormWindow window;
  FakeMemo memo;
  FakeTimerDevice timer;
  TForm1 form{window, memo, timer};
};

TEST_F(WMPowerBroadcastTest, StatusChangeGoesToLogThenList) {
  MonitorSettings.SaveLog = true;
  MonitorSettings.SavePath = "C:\\logs\\Tessaril.log";
  const TMessage reply = Broadcast(0x000A);
  const std::string line = "2026/12/07 05:32:29 >> 電源状態変更(ACアダプタ) [残85%]";
  EXPECT_EQ(reply.Result, 1);
  ASSERT_EQ(window.defaultHandled.size(), 1u);
  EXPECT_EQ(memo.lines, std::vector<std::string>{line});
  EXPECT_EQ(fake.files.files["C:\\logs\\Tessaril.log"].bytes, line + "\r\n");
}

TEST_F(WMPowerBroadcastTest, UnknownCodesGetDefaultProcessingOnly) {
  MonitorSettings.SaveLog = true;
  MonitorSettings.SavePath = "C:\\logs\\Tessaril.log";
  MonitorSettings.WavePower = true;
  MonitorSettings.WavePowerFile = "C:\\w.wav";
  fake.files.files["C:\\w.wav"];
  const std::intptr_t minusOne = -1;
  // Whatever the default processing answers is the reply.
  window.defaultResult = 0x2A;
  for (std::uintptr_t code : {std::uintptr_t{0x000C}, std::uintptr_t{0x0013},
                              std::uintptr_t{0x8012}, static_cast<std::uintptr_t>(minusOne)})
    EXPECT_EQ(Broadcast(code).Result, 0x2A) << code;
  EXPECT_EQ(window.defaultHandled.size(), 4u);
  EXPECT_TRUE(memo.lines.empty());
  EXPECT_TRUE(fake.sound.played.empty());
  EXPECT_EQ(fake.files.files.count("C:\\logs\\Tessaril.log"), 0u);
  EXPECT_EQ(fake.power.queries, 0);
}

TEST_F(WMPowerBroadcastTest, OnlyStatusChangeQueriesThePowerStatus) {
  Broadcast(0x0009);
  Broadcast(0x000B, 0x1F);
  EXPECT_EQ(fake.power.queries, 0);
  Broadcast(0x000A);
  EXPECT_EQ(fake.power.queries, 1);
  EXPECT_EQ(memo.lines[1], "2026/12/07 05:32:29 >> OEMイベント:001F");
}

TEST_F(WMPowerBroadcastTest, RepeatedEventsEachGiveALine) {
  MonitorSettings.SaveLog = true;
  MonitorSettings.SavePath = "C:\\logs\\a.log";
  Broadcast(0x000A);
  fake.clock.now.second = 30;
  Broadcast(0x000A);
  fake.clock.now.second = 31;
  Broadcast(0x000A);
  ASSERT_EQ(memo.lines.size(), 3u);
  EXPECT_EQ(fake.files.files["C:\\logs\\a.log"].bytes,
            memo.lines[0] + "\r\n" + memo.lines[1] + "\r\n" + memo.lines[2] + "\r\n");
  EXPECT_NE(memo.lines[0], memo.lines[1]);
}

TEST_F(WMPowerBroadcastTest, SoundOnlyWhenEnabledAndTheFileExists) {
  struct Case {
    bool enabled;
    std::string file;
    bool plays;
  };
  fake.files.files["C:\\snd\\on.wav"];
  fake.files.AddDirectory("C:\\snd");
  const Case cases[] = {
      {false, "C:\\snd\\on.wav", false},
      {true, "C:\\snd\\on.wav", true},
      {true, "C:\\snd\\missing.wav", false},
      {true, "C:\\snd", false},  // a folder is not a file
      {true, "", false},
  };
  for (const Case& c : cases) {
    fake.sound.played.clear();
    memo.lines.clear();
    MonitorSettings.WavePower = c.enabled;
    MonitorSettings.WavePowerFile = c.file;
    Broadcast(0x0007);
    EXPECT_EQ(fake.sound.played.size(), c.plays ? 1u : 0u) << c.file;
    EXPECT_EQ(memo.lines.size(), 1u) << "the line is written whatever the sound";
  }
}

TEST_F(WMPowerBroadcastTest, FailedLogWriteKeepsTheLineOutOfTheList) {
  MonitorSettings.SaveLog = true;
  MonitorSettings.SavePath = "C:\\missing\\Tessaril.log";
  MonitorSettings.WavePower = true;
  MonitorSettings.WavePowerFile = "C:\\w.wav";
  fake.files.files["C:\\w.wav"];
  try {
    Broadcast(0x0004);
    FAIL() << "the write failure must reach the error report";
  } catch (const AppError& error) {
    EXPECT_EQ(error.IoCode(), 3u);
  }
  EXPECT_EQ(window.defaultHandled.size(), 1u) << "the reply was already given";
  EXPECT_TRUE(memo.lines.empty());
  EXPECT_EQ(fake.sound.played.size(), 1u) << "the sound started before the write";
}
