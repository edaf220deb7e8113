#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include "tests/e2e/harness.h"

namespace {

// The local time as an event line writes it; such texts sort in time order.
std::string Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[32];
  std::snprintf(text, sizeof text, "%04u/%02u/%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
                t.wHour, t.wMinute, t.wSecond);
  return text;
}

// What the program should show for a status change on this machine right now.
std::string StatusChangeText() {
  SYSTEM_POWER_STATUS status = {};
  GetSystemPowerStatus(&status);
  return std::string("電源状態変更") + (status.ACLineStatus != 0 ? "(ACアダプタ)" : "(バッテリ)") +
         " [残" + std::to_string(status.BatteryLifePercent) + "%]";
}

// What the system's default window processing replies to a broadcast, asked
// of a window of this process: TRUE on Windows, 0 under Wine.
LRESULT DefaultReply(WPARAM code, LPARAM data) {
  HWND own = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                             nullptr);
  const LRESULT reply = DefWindowProcA(own, WM_POWERBROADCAST, code, data);
  DestroyWindow(own);
  return reply;
}

// The lines of a text in which every line ends with CR LF; a text that does
// not end so fails the test.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "unterminated last line: " << text.substr(start);
  return lines;
}

// Splits "yyyy/mm/dd hh:nn:ss >> text" into timestamp and text; false if
// the line has another shape.
bool SplitEventLine(const std::string& line, std::string& time, std::string& text) {
  static const std::string shape = "9999/99/99 99:99:99 >> ";
  if (line.size() < shape.size()) return false;
  for (size_t i = 0; i < shape.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (shape[i] == '9' ? !std::isdigit(c) : c != shape[i]) return false;
  }
  time = line.substr(0, 19);
  text = line.substr(shape.size());
  return true;
}

struct Broadcast {
  WPARAM code;
  LPARAM data;
  std::string text;  // the expected list text; empty for a code with no line
};

}  // namespace

TEST(PowerBroadcast, KnownCodesAreListedInOrderUnknownOnesOnlyAnswered) {
  TessarilProcess app;
  LaunchOptions options;
  // No memory watch: a low-memory alert would hold up the start.
  options.ini = "[main]\r\nMemoryLimit=0\r\n";
  app.Start(options);
  const std::string before = app.MemoText();

  const std::string startTime = Now();
  const Broadcast broadcasts[] = {
      {0x0A, 0, StatusChangeText()},
      {0x0C, 0, ""},
      {0x04, 0, "サスペンド実行"},
      {0x13, 0, ""},
      {0x0B, 0x1F, "OEMイベント:001F"},
      {0x8012, 0, ""},
      {static_cast<WPARAM>(-1), 0, ""},
      // Data is 32 bits wide whatever the width of LPARAM.
      {0x0B, -1, "OEMイベント:FFFFFFFF"},
      {0x00, 0, "サスペンド要求"},
      {0x12, 0, "復帰処理中..."},
      {0x8013, 0, "電源設定変更"},
      {0x04, 0, "サスペンド実行"},
  };
  std::vector<std::string> expected;
  for (const Broadcast& b : broadcasts) {
    // The reply is the default processing's: a query is never refused. Wine's
    // default answers 0, so this catches a made-up reply or a refusal but not
    // a skipped default processing; the unit table catches that, with a
    // default that answers as Windows' does.
    EXPECT_EQ(app.SendPowerBroadcast(b.code, b.data), DefaultReply(b.code, b.data))
        << "code " << b.code;
    if (!b.text.empty()) expected.push_back(b.text);
  }
  const std::string endTime = Now();

  const std::string after = app.MemoText();
  ASSERT_EQ(after.compare(0, before.size(), before), 0) << "earlier lines changed:\n" << after;
  const std::vector<std::string> lines = Lines(after.substr(before.size()));
  ASSERT_EQ(lines.size(), expected.size()) << after;
  std::string previous = startTime;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string time, text;
    ASSERT_TRUE(SplitEventLine(lines[i], time, text)) << lines[i];
    EXPECT_EQ(text, expected[i]);
    EXPECT_LE(previous, time) << lines[i];
    EXPECT_LE(time, endTime) << lines[i];
    previous = time;
  }

  SaveScreenshot(app.MainWindow(), app.ScreenshotPath("PowerBroadcast"));
  app.Close();
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}
