#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/laptop.h"

// The program on a laptop: the battery, the mains and the free memory are
// the test's (laptop.h), so what a user on battery sees is seen here too.

namespace {

// The texts of event lines, each without its 19-byte time and " >> ".
std::vector<std::string> Texts(const std::string& lines) {
  constexpr std::size_t kHead = 23;
  std::vector<std::string> texts;
  std::size_t start = 0;
  for (std::size_t end = 0; end != std::string::npos; start = end + 2) {
    end = lines.find("\r\n", start);
    const std::string line = lines.substr(start, end - start);
    if (line.size() >= kHead) texts.push_back(line.substr(kHead));
  }
  return texts;
}

std::string Ini(const TessarilProcess& app, const std::string& main, const std::string& extra) {
  return "[main]\r\nSaveLog=1\r\nSavePath=" + app.FilePath("t.log") + "\r\n" + main +
         (extra.empty() ? "" : "[extra]\r\n" + extra);
}

struct StatusRow {
  bool mains;
  int percent;
  const char* text;
};

class StatusLine : public LaptopTest, public testing::WithParamInterface<StatusRow> {};

}  // namespace

TEST_P(StatusLine, NamesTheMainsOrTheBatteryAndTheCharge) {
  const StatusRow& row = GetParam();
  row.mains ? laptop.OnMains(row.percent) : laptop.OnBattery(row.percent);
  TessarilProcess app;
  LaunchOptions options;
  options.ini = Ini(app, "MemoryLimit=0\r\n", "");
  app.Start(options);
  app.SendPowerBroadcast(PBT_APMPOWERSTATUSCHANGE, 0);
  for (const std::string& lines : {app.MemoText(), app.ReadFile("t.log").value_or("")}) {
    const std::vector<std::string> texts = Texts(lines);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), row.text);
  }
}

INSTANTIATE_TEST_SUITE_P(Laptop, StatusLine,
                         testing::Values(StatusRow{false, 37, "電源状態変更(バッテリ) [残37%]"},
                                         StatusRow{true, 80, "電源状態変更(ACアダプタ) [残80%]"}));

TEST_F(LaptopTest, BatteryWarningComesOnceADischargeAndAgainAfterTheMains) {
  laptop.OnBattery(50);
  TessarilProcess app;
  LaunchOptions options;
  options.ini = Ini(app, "MemoryLimit=0\r\n", "BatteryLimit=20\r\n");
  app.Start(options);
  const auto status = [&](bool mains, int percent) {
    mains ? laptop.OnMains(percent) : laptop.OnBattery(percent);
    app.SendPowerBroadcast(PBT_APMPOWERSTATUSCHANGE, 0);
  };
  const auto warning = [](int percent) {
    return "バッテリ残量が20%以下になりました。\r\n(現在" + std::to_string(percent) +
           "%)\r\n電源に接続してください。";
  };
  status(false, 20);
  EXPECT_EQ(AnswerBox(app, "情報"), warning(20)) << "the charge reached the limit";
  status(false, 15);
  status(true, 16);
  status(false, 18);
  // A warning at 15 % would have come before this one.
  EXPECT_EQ(AnswerBox(app, "情報"), warning(18)) << "on battery again after the mains";
  app.Close();
  ASSERT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  const std::vector<std::string> logged = Texts(app.ReadFile("t.log").value_or(""));
  EXPECT_EQ(std::count(logged.begin(), logged.end(), "バッテリ残量が20%以下になりました"), 2);
}

TEST_F(LaptopTest, SuspendTimeShowsTheChargeAtBothEnds) {
  laptop.OnBattery(80);
  TessarilProcess app;
  LaunchOptions options;
  options.ini = Ini(app, "MemoryLimit=0\r\n", "SuspendLog=1\r\n");
  app.Start(options);
  app.SendPowerBroadcast(PBT_APMSUSPEND, 0);
  laptop.OnBattery(74);
  app.SendPowerBroadcast(PBT_APMRESUMESUSPEND, 0);
  app.SendPowerBroadcast(PBT_APMRESUMEAUTOMATIC, 0);
  // Seconds apart: under a minute, whatever the clock read.
  const std::vector<std::string> expected = {"サスペンド実行", "サスペンド復帰",
                                             "サスペンド時間 0分 [残80%→74%]", "復帰処理中..."};
  for (const std::string& lines : {app.MemoText(), app.ReadFile("t.log").value_or("")}) {
    const std::vector<std::string> texts = Texts(lines);
    ASSERT_GE(texts.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(texts.end() - expected.size(), texts.end()), expected);
  }
}

TEST_F(LaptopTest, MemoryAlertBelowTheLimitShowsTheFreeMemory) {
  laptop.FreeMemory(150);
  TessarilProcess app;
  LaunchOptions options;
  options.ini = Ini(app, "MemoryLimit=200\r\n", "");
  options.wait = StartWait::kMainWindow;
  app.Start(options);
  EXPECT_EQ(AnswerBox(app, "情報"),
            "使用可能メモリが200MBを切りました。\r\n(現在150MB)\r\n"
            "不要なアプリケーションを終了してください。");
  app.Close();
  ASSERT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  const std::vector<std::string> logged = Texts(app.ReadFile("t.log").value_or(""));
  EXPECT_EQ(std::count(logged.begin(), logged.end(), "使用可能メモリが200MBを切りました"), 1);
}
