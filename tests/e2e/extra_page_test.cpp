#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/harness.h"

// The 拡張 page of the settings dialog and what its settings do in the
// running program.

namespace {


std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool SameName(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
         CSTR_EQUAL;
}

}  // namespace

TEST(ExtraPage, SecondPageAsDesignedSavedInItsOwnSectionAndRemovedWhenAllAreOff) {
  TessarilProcess app;
  LaunchOptions options;
  options.ini = "[main]\r\nMemoryLimit=0\r\n";
  app.Start(options);
  HWND dialog = OpenSettings(app);
  ASSERT_NE(dialog, nullptr);
  const SettingsControls c = FindSettingsControls(dialog);
  HWND tabs = c.pageControl1;
  HWND sheet = c.tabSheet2;
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(GetParent(sheet), tabs);
  EXPECT_FALSE(IsWindowVisible(sheet)) << "the first page shows first";
  ASSERT_TRUE(WaitFor([&] { return Focus(dialog) == tabs; })) << "the tabs have the focus first";
  PostMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 1);  // the arrow key turns the page
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(sheet) != FALSE; }));
  EXPECT_FALSE(IsWindowVisible(c.tabSheet1));

  // Laid out as the first page is: group boxes as wide as its, the battery
  // row spaced as its memory row, check boxes as its; all on the page, none
  // over another.
  struct Expected {
    HWND control, parent, like;
    const char* text;
  };
  const Expected controls[] = {
      {c.groupBox5, c.tabSheet2, c.groupBox4, "電源"},
      {c.cbSuspendLog, c.groupBox5, c.cbSaveLog, "スリープ・休止の時間を記録する"},
      {c.label6, c.groupBox5, c.label2, "バッテリ残量が"},
      {c.edBatteryLimit, c.groupBox5, c.edMemLimit, "0"},
      {c.label7, c.groupBox5, c.label5, "%以下になったら通知する"},
      {c.groupBox6, c.tabSheet2, c.groupBox4, "メモリ警告"},
      {c.cbTopPrograms, c.groupBox6, c.cbSaveLog, "警告にメモリ使用量の多いプログラムを表示する"},
      {c.cbAlertOnce, c.groupBox6, c.cbSaveLog, "メモリが回復するまで警告を繰り返さない"},
  };
  const LRESULT font = SendMessageA(c.edMemLimit, WM_GETFONT, 0, 0);
  std::vector<std::pair<HWND, RECT>> placed;
  for (const Expected& e : controls) {
    const std::string what = WindowText(e.control);
    EXPECT_EQ(GetParent(e.control), e.parent) << what;
    const RECT r = PlaceInParent(e.control), like = PlaceInParent(e.like);
    EXPECT_EQ(r.left, like.left) << what;
    if (e.like == c.groupBox4) {
      EXPECT_EQ(r.right - r.left, like.right - like.left) << what;
    } else {
      EXPECT_GE(r.right - r.left, like.right - like.left) << what;
      EXPECT_EQ(r.bottom - r.top, like.bottom - like.top) << what;
    }
    RECT parent = {};
    GetClientRect(GetParent(e.control), &parent);
    EXPECT_TRUE(r.right <= parent.right && r.bottom <= parent.bottom && r.top >= 0)
        << what << " fits its parent";
    for (const auto& [other, o] : placed) {
      RECT overlap = {};
      EXPECT_TRUE(GetParent(other) != GetParent(e.control) || !IntersectRect(&overlap, &r, &o))
          << what << " over " << WindowText(other);
    }
    placed.push_back({e.control, r});
    EXPECT_EQ(what, e.text);
    EXPECT_EQ(SendMessageA(e.control, WM_GETFONT, 0, 0), font) << what << ": the first page's font";
  }
  SaveScreenshot(dialog, app.ScreenshotPath("SettingsExtraPage"));

  // Top to bottom, then the OK button and back to the tabs.
  for (HWND next : {c.cbSuspendLog, c.edBatteryLimit, c.cbTopPrograms, c.cbAlertOnce, c.button1,
                     c.pageControl1}) {
    const HWND before = Focus(dialog);
    PostMessageA(before, WM_KEYDOWN, VK_TAB, 1);
    EXPECT_TRUE(WaitFor([&] { return Focus(dialog) != before; })) << WindowText(next);
    EXPECT_EQ(Focus(dialog), next) << WindowText(next);
  }

  // A limit above 99 is refused; a good one is saved with the three boxes
  // ticked, and all back off leave [main] and its twelve keys alone.
  HWND battery = c.edBatteryLimit;
  const auto closeWith = [&](const char* limit, bool toggleBoxes) {
    SendMessageA(battery, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(limit));
    for (HWND box : {c.cbSuspendLog, c.cbTopPrograms, c.cbAlertOnce})
      if (toggleBoxes) SendMessageA(box, BM_CLICK, 0, 0);
    PostMessageA(c.button1, BM_CLICK, 0, 0);
  };
  closeWith("100", false);
  EXPECT_EQ(AnswerBox(app, "エラー"), "バッテリ残量は0から99の値を指定してください");
  closeWith(" 0x14", true);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
  EXPECT_EQ(WindowText(battery), "20");
  std::vector<std::string> lines;
  const auto iniHas = [&](std::size_t count) {  // saved once the dialog has gone
    return WaitFor([&] {
      lines = Lines(app.ReadFile("Tessaril.ini").value_or(""));
      return lines.size() == count;
    });
  };
  ASSERT_TRUE(iniHas(18)) << app.ReadFile("Tessaril.ini").value_or("");
  EXPECT_EQ(lines[0], "[main]");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 13, lines.end()),
            (std::vector<std::string>{"[extra]", "SuspendLog=1", "BatteryLimit=20",
                                      "TopPrograms=1", "AlertOnce=1"}));
  ASSERT_EQ(OpenSettings(app), dialog);
  closeWith("0", true);
  ASSERT_TRUE(iniHas(13)) << app.ReadFile("Tessaril.ini").value_or("");
  EXPECT_EQ(lines[0], "[main]");
  EXPECT_EQ(lines[12].rfind("Height=", 0), 0u);
  app.Close();
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}

TEST(ExtraPage, MemoryAlertNamesTheLargestProgramsButNotItself) {
  // This driver holds the most private memory of the user's programs.
  constexpr SIZE_T kHeld = 256u << 20;
  void* held = VirtualAlloc(nullptr, kHeld, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_NE(held, nullptr);
  std::memset(held, 1, kHeld);
  TessarilProcess app;
  LaunchOptions options;
  // A limit of -1 is 4294967295 MB: the check at the start alerts.
  options.ini = "[main]\r\nMemoryLimit=-1\r\n[extra]\r\nTopPrograms=1\r\n";
  options.wait = StartWait::kMainWindow;
  app.Start(options);
  const std::string text = AnswerBox(app, "情報");
  VirtualFree(held, 0, MEM_RELEASE);
  app.Kill();

  const std::vector<std::string> lines = Lines(text);
  ASSERT_GE(lines.size(), 6u) << text;
  EXPECT_LE(lines.size(), 8u) << text;
  EXPECT_EQ(lines[0], "使用可能メモリが4294967295MBを切りました。");
  EXPECT_EQ(lines[2], "不要なアプリケーションを終了してください。");
  EXPECT_EQ(lines[3] + lines[4], "メモリ使用量の多いプログラム:");
  const auto megabytes = [](const std::string& line) {
    return std::atoi(line.substr(line.rfind(' ') + 1).c_str());
  };
  char driver[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, driver, MAX_PATH);
  EXPECT_TRUE(SameName(lines[5].substr(0, lines[5].find(' ')), std::strrchr(driver, '\\') + 1))
      << text;
  EXPECT_GE(megabytes(lines[5]), static_cast<int>(kHeld >> 20)) << lines[5];
}
