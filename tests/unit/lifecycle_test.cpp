#include <gtest/gtest.h>

#include "app/application.h"
#include "app/error.h"
#include "app/form_show.h"
#include "settings/apply_settings.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"
#include "shell/tray_icon.h"
#include "tests/fake/fake_controls.h"
#include "tests/fake/fake_platform.h"

namespace {
constexpr WindowId kApp = 0x2000;
const std::string kMain = std::to_string(FakeFormWindow::kHandle);
const std::string kAppText = std::to_string(kApp);
}  // namespace

class LifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MonitorSettings = TMonitorSettings();
    app.Handle = kApp;
    app.MainForm = &form;
    app.Title = "Tessaril";
    Application = &app;
    Form1 = &form;
    window.journal = &fake.windows.journal;
    fake.files.AddDirectory("C:\\logs");
    Setting("MemoryLimit", "0");
  }
  void TearDown() override {
    Application = nullptr;
    Form1 = nullptr;
    MonitorSettings = TMonitorSettings();
  }
  // The settings file the start sequence loads.
  void Setting(const std::string& key, const std::string& value) {
    fake.profile.Write("C:\\Apps\\Tessaril\\Tessaril.ini", "main", key, value);
  }
  // Logging on, in the file for the start sequence and in the runtime copy
  // for the steps that run without it.
  void LogTo(const std::string& path) {
    Setting("SaveLog", "1");
    Setting("SavePath", path);
    MonitorSettings.SaveLog = true;
    MonitorSettings.SavePath = path;
  }
  void Tray(std::intptr_t lParam) {
    TMessage message{WM_TASKTRAY, 0, lParam, 0};
    form.TaskTrayWndProc(message);
  }

  FakePlatform fake;
  FakeForm2 dialog;
  FakeFormWindow window;
  FakeMemo memo;
  FakeTimerDevice timer;
  TForm1 form{window, memo, timer};
  TApplication app;
};

TEST_F(LifecycleTest, StartTextReadsTheLimitUnsigned) {
  EXPECT_EQ(MonitorStartText(200), "電源状態監視開始 200MB");
  EXPECT_EQ(MonitorStartText(0), "電源状態監視開始 0MB");
  EXPECT_EQ(MonitorStartText(-1), "電源状態監視開始 4294967295MB");
}

TEST_F(LifecycleTest, FirstShowRunsTheStartSequenceOnce) {
  LogTo("C:\\logs\\t.log");
  Setting("MemoryLimit", "200");
  fake.memory.availBytes = 100u << 20;  // the first check alerts at once
  form.SetVisible(true);
  form.SetVisible(true);
  const std::string start = "2026/12/07 05:32:29 >> 電源状態監視開始 200MB";
  EXPECT_EQ(memo.lines, std::vector<std::string>{start});
  EXPECT_EQ(fake.files.files["C:\\logs\\t.log"].bytes,
            start + "\r\n2026/12/07 05:32:29 >> 使用可能メモリが200MBを切りました\r\n");
  EXPECT_TRUE(form.Timer1.Enabled());
  EXPECT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(fake.windows.journal.front(), "process messages");
  EXPECT_EQ(fake.windows.journal.back(), "native 1") << "shown after the start sequence";
}

TEST_F(LifecycleTest, StartOnBatteryAtTheLimitWarnsAndTheNextStatusChangeDoesNot) {
  fake.profile.Write("C:\\Apps\\Tessaril\\Tessaril.ini", "extra", "BatteryLimit", "20");
  fake.power.status = {0, 20};
  form.SetVisible(true);
  ASSERT_EQ(window.batteryWarnings.size(), 1u);
  ShowBatteryWarning(window.batteryWarnings[0].first, window.batteryWarnings[0].second);
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(fake.dialogs.boxes[0].text.find("バッテリ残量が20%以下になりました。"), 0u);
  TMessage change{0x218, 0x000A, 0, 0};
  form.WMPowerBroadcast(change);
  EXPECT_EQ(window.batteryWarnings.size(), 1u) << "still low: no second warning";
}

TEST_F(LifecycleTest, LimitZeroLeavesTheTimerOff) {
  form.SetVisible(true);
  EXPECT_EQ(memo.lines, std::vector<std::string>{"2026/12/07 05:32:29 >> 電源状態監視開始 0MB"});
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(LifecycleTest, FailedStartLineSkipsTheRestButKeepsTheTimer) {
  LogTo("C:\\nofolder\\t.log");
  Setting("MemoryLimit", "200");
  fake.memory.availBytes = 100u << 20;
  form.SetVisible(true);
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u) << "only the error report, no memory alert";
  EXPECT_EQ(fake.dialogs.boxes[0].text, "ファイル名の指定が間違っています.");
  EXPECT_EQ(fake.dialogs.boxes[0].caption, "Tessaril");
  EXPECT_EQ(fake.dialogs.boxes[0].kind, MessageKind::Error);
  EXPECT_TRUE(memo.lines.empty());
  EXPECT_TRUE(form.Timer1.Enabled());
  EXPECT_EQ(fake.windows.journal.back(), "native 1") << "the window is shown all the same";
}

TEST_F(LifecycleTest, RunShowsOrParksByTheLaunchCommand) {
  struct Case {
    int command;
    bool shown;
    const char* nativeShow;
  };
  const Case cases[] = {{10, true, "native 1"}, {0, true, "native 1"}, {1, true, "native 1"},
                        {2, true, "native 1"},  {3, true, "native 3"}, {6, true, "native 1"},
                        {7, false, nullptr}};
  for (const Case& c : cases) {
    FakePlatform local;
    FakeFormWindow w;
    w.journal = &local.windows.journal;
    FakeMemo m;
    FakeTimerDevice t;
    TForm1 f{w, m, t};
    TApplication a;
    a.Handle = kApp;
    a.MainForm = &f;
    Application = &a;
    Form1 = &f;
    f.FormCreate();
    local.windows.launchShowCommand = c.command;
    local.windows.dispatchResults = {true, false};
    a.Run();
    EXPECT_TRUE(a.QuitReceived);
    EXPECT_EQ(f.Visible(), c.shown) << c.command;
    EXPECT_EQ(m.lines.size(), c.shown ? 1u : 0u) << "no start line until first shown";
    const Journal& j = local.windows.journal;
    // The task-bar button: the application window shown and not minimised,
    // whatever the first ShowWindow of the process made of it.
    const FakeWindowSystem& ws = local.windows;
    EXPECT_EQ(ws.visible.count(kApp) != 0, c.shown) << c.command;
    if (c.shown) {
      EXPECT_EQ(ws.iconic.count(kApp) + ws.zoomed.count(kApp), 0u) << c.command;
      EXPECT_NE(std::find(j.begin(), j.end(), c.nativeShow), j.end()) << c.command;
    } else {
      EXPECT_NE(std::find(j.begin(), j.end(), "show " + kAppText + " 6"), j.end());
      EXPECT_NE(std::find(j.begin(), j.end(), "show " + kAppText + " 0"), j.end());
      EXPECT_FALSE(a.MainWindowShown);
    }
  }
}

TEST_F(LifecycleTest, MinimiseParksAndLeftClickRestores) {
  form.FormCreate();
  form.SetVisible(true);
  fake.windows.visible.insert(FakeFormWindow::kHandle);
  fake.windows.journal.clear();
  app.Minimize();
  // Wine leaves owned windows shown when their owner is minimised.
  const Journal parked = {"show " + kAppText + " 6", "show " + kMain + " 0",
                          "hide owned " + kAppText, "show " + kAppText + " 0"};
  EXPECT_EQ(fake.windows.journal, parked);
  EXPECT_FALSE(app.MainWindowShown);
  EXPECT_TRUE(form.Visible()) << "the visible property stays";

  fake.windows.journal.clear();
  app.Minimize();
  EXPECT_EQ(fake.windows.journal, Journal{}) << "already minimised: nothing, no handler";

  Tray(kLeftButtonUp);
  const Journal restored = {"show " + kAppText + " 5", "show " + kAppText + " 9",
                            "show " + kMain + " 8", "show owned " + kAppText,
                            "foreground " + kAppText};
  EXPECT_EQ(fake.windows.journal, restored);
  EXPECT_TRUE(app.MainWindowShown);
  EXPECT_EQ(memo.lines.size(), 1u) << "the start sequence does not run again";
}

TEST_F(LifecycleTest, LeftClickOnAShownMaximisedWindowMakesItNormal) {
  form.SetVisible(true);
  fake.windows.zoomed.insert(FakeFormWindow::kHandle);
  fake.windows.journal.clear();
  Tray(kLeftButtonUp);
  const Journal expected = {"show " + kAppText + " 9", "show owned " + kAppText, "native 9",
                            "foreground " + kAppText};
  EXPECT_EQ(fake.windows.journal, expected);
}

TEST_F(LifecycleTest, ParkedStartShowsTheWindowFirstOnLeftClick) {
  form.SetWindowState(TWindowState::wsMinimized);
  app.OnMinimize = [&] { form.AppMinimize(); };
  app.Minimize();
  EXPECT_TRUE(memo.lines.empty());
  Tray(kLeftButtonUp);
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(memo.lines.size(), 1u);
  EXPECT_NE(std::find(fake.windows.journal.begin(), fake.windows.journal.end(), "native 1"),
            fake.windows.journal.end())
      << "shown in the normal state";
  EXPECT_EQ(form.WindowState(), TWindowState::wsNormal);
}

TEST_F(LifecycleTest, RightClickOpensThePopupAtTheCursor) {
  Tray(kRightButtonUp);
  const Journal expected = {"cursor", "foreground " + kMain,
                            "popup 4 at 100,200 flags 2 owner " + kMain, "null " + kMain};
  EXPECT_EQ(fake.windows.journal, expected);
}

TEST(PopupMenu1, GraphSettingsSeparatorExit) {
  const std::vector<MenuItem> items = PopupMenu1Items();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].caption, "グラフ(&G)");
  EXPECT_EQ(items[0].command, kCommandGraph);
  EXPECT_EQ(items[1].caption, "設定(&O)");
  EXPECT_EQ(items[1].command, kCommandSettings);
  EXPECT_EQ(items[2].caption, "-");
  EXPECT_EQ(items[3].caption, "終了(&X)");
  EXPECT_EQ(items[3].command, kCommandExit);
}

TEST_F(LifecycleTest, OtherMouseEventsChangeNothing) {
  for (std::intptr_t event : {0x200, 0x201, 0x203, 0x204, 0x206, 0x10202})
    Tray(event);
  EXPECT_EQ(fake.windows.journal, Journal{});
}

TEST_F(LifecycleTest, IconRecordAndItsRemoval) {
  form.FormCreate();
  ASSERT_EQ(fake.windows.icons.size(), 1u);
  const TrayIconData& add = fake.windows.icons[0];
  EXPECT_EQ(add.window, FakeFormWindow::kTrayHandle);
  EXPECT_EQ(add.id, 0u);
  EXPECT_EQ(add.flags, 7u);
  EXPECT_EQ(add.callbackMessage, 0x8309u);
  EXPECT_TRUE(add.withIcon);
  EXPECT_EQ(std::string(add.tip, 64), std::string("Tessaril") + std::string(56, '\0'));
  EXPECT_TRUE(form.IsTaskbarCreated(0xC123));
  EXPECT_FALSE(form.IsTaskbarCreated(0x8309));

  LogTo("C:\\logs\\t.log");
  fake.windows.journal.clear();
  form.FormDestroy();
  const Journal expected = {"icon 2", "destroy tray window", "process messages"};
  EXPECT_EQ(fake.windows.journal, expected);
  EXPECT_EQ(fake.windows.icons.back().window, FakeFormWindow::kTrayHandle);
  EXPECT_EQ(fake.windows.icons.back().flags, 0u);
  EXPECT_EQ(fake.files.files["C:\\logs\\t.log"].bytes, "2026/12/07 05:32:29 >> 電源状態監視終了\r\n");
  EXPECT_TRUE(memo.lines.empty()) << "the end line is not shown";
}

TEST_F(LifecycleTest, CloseEndsTheProgramUnlessTheLoopIsOver) {
  form.X1Click();
  EXPECT_EQ(fake.windows.journal, Journal{"post quit"});
  fake.windows.journal.clear();
  app.LoopEnded = true;
  form.Close();
  EXPECT_EQ(fake.windows.journal, Journal{});
}

TEST_F(LifecycleTest, CloseAfterTheQuitRequestIsRefusedAndHides) {
  form.SetVisible(true);
  app.QuitReceived = true;
  fake.windows.journal.clear();
  form.Close();
  const Journal expected = {"show " + kAppText + " 0", "native 0"};
  EXPECT_EQ(fake.windows.journal, expected);
  EXPECT_FALSE(form.Visible());
}

TEST_F(LifecycleTest, CloseBeforeTheFirstShowKeepsTheStoredSettings) {
  const std::pair<std::string, std::string> stored[] = {
      {"MemoryLimit", "123"}, {"SavePath", "C:\\logs\\x.log"}, {"SaveLog", "1"},
      {"Left", "10"},         {"Top", "20"},                     {"Width", "600"},
      {"Height", "300"}};
  for (const auto& [key, value] : stored) Setting(key, value);
  LoadStoredSettings();
  EXPECT_EQ(MonitorSettings.MemoryLimit, 0) << "monitoring still waits for the first show";
  EXPECT_FALSE(MonitorSettings.SaveLog);
  form.Close();
  for (const auto& [key, value] : stored)
    EXPECT_EQ(fake.profile.Read("C:\\Apps\\Tessaril\\Tessaril.ini", "main", key, "?"), value) << key;
}
