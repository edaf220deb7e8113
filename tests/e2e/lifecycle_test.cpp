#include "tests/e2e/harness.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <functional>
#include <thread>

namespace {


// Whether the shell still knows the program's icon: modifying an icon that
// is not there fails.
bool IconPresent(HWND trayWindow) {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = trayWindow;
  data.uID = 0;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void PostTray(HWND trayWindow, LPARAM event) { PostMessageA(trayWindow, kTaskTray, 0, event); }

bool HasStartLine(const TessarilProcess& app) {
  return app.MemoText().find("電源状態監視開始 ") != std::string::npos;
}

}  // namespace

TEST(Lifecycle, SecondStartSaysSoAndEndsWithoutAWindow) {
  TessarilProcess first;
  first.Start();
  TessarilProcess second;
  LaunchOptions options;
  options.wait = StartWait::kNothing;
  second.Start(options);

  HWND box = second.FindDialog("Tessiral", kStartTimeout);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "すでに起動されています。");
  EXPECT_EQ(WindowOfClass(second, "TForm1", Timeout{0}), nullptr);
  EXPECT_EQ(WindowOfClass(second, "TTaskTrayWnd", Timeout{0}), nullptr) << "no icon window";
  ClickButton(box, IDOK);
  EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_FALSE(second.ReadFile("Tessaril.ini"));
  EXPECT_FALSE(second.ReadFile("Tessaril.log"));
  EXPECT_TRUE(first.Running());
}

TEST(Lifecycle, ParkedStartWaitsForTheFirstLeftClick) {
  TessarilProcess app;
  LaunchOptions options;
  options.showCommand = SW_SHOWMINNOACTIVE;
  options.wait = StartWait::kMainWindow;
  app.Start(options);
  HWND tray = WindowOfClass(app, "TTaskTrayWnd");
  ASSERT_NE(tray, nullptr);
  EXPECT_TRUE(WaitFor([&] { return IconPresent(tray); }));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(IsWindowVisible(app.MainWindow()));
  EXPECT_EQ(app.MemoText(), "") << "no start line before the window is first shown";

  PostTray(tray, WM_LBUTTONUP);
  ASSERT_TRUE(WaitFor([&] { return HasStartLine(app); }));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(app.MainWindow()) != FALSE; }));
  EXPECT_FALSE(IsIconic(app.MainWindow()));
}

TEST(Lifecycle, MinimiseParksInTheTrayAndLeftClickBringsItBack) {
  TessarilProcess app;
  app.Start();
  ASSERT_TRUE(WaitFor([&] { return HasStartLine(app); }));
  HWND main = app.MainWindow();
  HWND tray = WindowOfClass(app, "TTaskTrayWnd");
  HWND application = WindowOfClass(app, "TApplication");
  ASSERT_NE(tray, nullptr);
  ASSERT_NE(application, nullptr);

  ShowWindow(main, SW_MAXIMIZE);
  ASSERT_TRUE(WaitFor([&] { return IsZoomed(main) != FALSE; }));
  SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main) && !IsWindowVisible(application); }))
      << "no window of the program stays on screen";
  for (HWND window : app.WindowsOfProcess())
    EXPECT_FALSE(IsWindowVisible(window) && ClassOf(window) != "Shell_TrayWnd") << ClassOf(window);

  // Moving over the icon, pressing, double clicks: nothing, and the icon's
  // window answers 0 to each.
  for (LPARAM event : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK}) {
    DWORD_PTR reply = 1;
    ASSERT_TRUE(SendMessageTimeoutA(tray, kTaskTray, 0, event, SMTO_ABORTIFHUNG, 5000, &reply));
    EXPECT_EQ(reply, 0u) << "event " << event;
  }
  EXPECT_FALSE(IsWindowVisible(main));

  PostTray(tray, WM_LBUTTONUP);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) && !IsZoomed(main); }))
      << "back, shown and normal";
  const std::string memo = app.MemoText();
  EXPECT_EQ(memo.find("電源状態監視開始 ", memo.find("電源状態監視開始 ") + 1), std::string::npos)
      << "the start sequence ran once";

  SaveScreenshot(main, app.ScreenshotPath("main_window"));
}

TEST(Lifecycle, TaskbarCreatedAddsTheIconAgain) {
  TessarilProcess app;
  app.Start();
  HWND tray = WindowOfClass(app, "TTaskTrayWnd");
  ASSERT_NE(tray, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IconPresent(tray); }));
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = tray;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));  // as a restarting shell loses it
  ASSERT_FALSE(IconPresent(tray));
  DWORD_PTR reply = 0;
  SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0,
                      SMTO_ABORTIFHUNG, 5000, &reply);
  EXPECT_TRUE(WaitFor([&] { return IconPresent(tray); }));
}

TEST(Lifecycle, ExitFromTheMenuEndsTheProgramAndRemovesTheIcon) {
  TessarilProcess app;
  app.Start();
  HWND tray = WindowOfClass(app, "TTaskTrayWnd");
  ASSERT_NE(tray, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IconPresent(tray); }));
  TrayMenuCommand(app, 'x');
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_FALSE(IconPresent(tray));
}

TEST(Lifecycle, CloseBoxEndsTheProgram) {
  TessarilProcess app;
  app.Start();
  app.Close();
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}

TEST(Lifecycle, LogOffQueryIsAnsweredYesAndTheEndNoticeEndsTheProgram) {
  TessarilProcess app;
  app.Start();
  HWND tray = WindowOfClass(app, "TTaskTrayWnd");
  HWND application = WindowOfClass(app, "TApplication");
  ASSERT_NE(application, nullptr);
  ASSERT_NE(tray, nullptr);
  DWORD_PTR reply = 0;
  ASSERT_TRUE(SendMessageTimeoutA(app.MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                  SMTO_ABORTIFHUNG, 5000, &reply));
  EXPECT_EQ(reply, 1u);
  ASSERT_TRUE(SendMessageTimeoutA(tray, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                  SMTO_ABORTIFHUNG, 5000, &reply));
  EXPECT_EQ(reply, 1u) << "the icon's window must not veto the log-off";
  // A cancelled log-off changes nothing.
  SendMessageTimeoutA(application, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                      &reply);
  EXPECT_TRUE(app.Running());
  SendMessageTimeoutA(application, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                      &reply);
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}

namespace {

std::string LoggingIni(const TessarilProcess& app, const std::string& more = "") {
  return "[main]\r\nMemoryLimit=0\r\nSaveLog=1\r\nSavePath=" + app.FilePath("Tessaril.log") +
         "\r\n" + more;
}

// The message texts of a log's lines, in order.
std::vector<std::string> LoggedTexts(const TessarilProcess& app) {
  std::vector<std::string> texts;
  const std::string log = app.ReadFile("Tessaril.log").value_or("");
  std::size_t start = 0;
  for (std::size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::size_t mark = log.find(" >> ", start);
    texts.push_back(mark < end ? log.substr(mark + 4, end - mark - 4) : "?");
  }
  return texts;
}

}  // namespace

TEST(Lifecycle, StartAndEndLinesAreLoggedOnlyTheStartLineIsShown) {
  TessarilProcess app;
  LaunchOptions options;
  options.ini = LoggingIni(app);
  app.Start(options);
  ASSERT_TRUE(WaitFor([&] { return HasStartLine(app); }));
  EXPECT_NE(app.MemoText().find(" >> 電源状態監視開始 0MB\r\n"), std::string::npos);
  app.Close();
  ASSERT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  const std::vector<std::string> expected = {"電源状態監視開始 0MB", "電源状態監視終了"};
  EXPECT_EQ(LoggedTexts(app), expected);
  const std::string ini = app.ReadFile("Tessaril.ini").value_or("");
  for (const char* key : {"MemoryLimit=0\r\n", "SaveLog=1\r\n", "Width=", "Height="})
    EXPECT_NE(ini.find(key), std::string::npos) << key << " saved by the close";
}

TEST(Lifecycle, ExitBeforeTheFirstShowKeepsTheStoredSettings) {
  TessarilProcess app;
  const std::string stored = "[main]\r\nMemoryLimit=123\r\nWavePowerFile=C:\\x.wav\r\n"
                             "SaveLog=1\r\nLeft=40\r\nTop=50\r\nWidth=600\r\nHeight=300\r\n";
  LaunchOptions options;
  options.ini = stored;
  options.showCommand = SW_SHOWMINNOACTIVE;
  options.wait = StartWait::kMainWindow;
  app.Start(options);
  TrayMenuCommand(app, 'x');
  ASSERT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  const std::string ini = app.ReadFile("Tessaril.ini").value_or("");
  for (const char* line : {"MemoryLimit=123\r\n", "WavePowerFile=C:\\x.wav\r\n", "SaveLog=1\r\n",
                           "Left=40\r\n", "Top=50\r\n", "Width=600\r\n", "Height=300\r\n"})
    EXPECT_NE(ini.find(line), std::string::npos) << line << "in\n" << ini;
  EXPECT_FALSE(app.ReadFile("Tessaril.log")) << "logging starts with the first show";
}

TEST(Lifecycle, LogOffSavesTheSettingsAndWritesTheEndLine) {
  TessarilProcess app;
  LaunchOptions options;
  options.ini = LoggingIni(app);
  app.Start(options);
  HWND application = WindowOfClass(app, "TApplication");
  ASSERT_NE(application, nullptr);
  DeleteFileA(app.FilePath("Tessaril.ini").c_str());
  DWORD_PTR reply = 0;
  ASSERT_TRUE(SendMessageTimeoutA(app.MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                  SMTO_ABORTIFHUNG, 5000, &reply));
  EXPECT_EQ(reply, 1u);
  EXPECT_NE(app.ReadFile("Tessaril.ini").value_or("").find("SaveLog=1"), std::string::npos);
  SendMessageTimeoutA(application, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                      &reply);
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  const std::vector<std::string> texts = LoggedTexts(app);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), "電源状態監視終了");
}

TEST(Lifecycle, RightClickOpensTheTrayMenu) {
  TessarilProcess app;
  app.Start();
  HWND tray = WindowOfClass(app, "TTaskTrayWnd");
  ASSERT_NE(tray, nullptr);
  PostTray(tray, WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    menu = FindWindowA("#32768", nullptr);
    return menu != nullptr && IsWindowVisible(menu);
  }));
  // Wine's menus are not readable from another process; the items are
  // checked by the unit tests, and the screenshot shows them.
  SaveScreenshot(nullptr, app.ScreenshotPath("TrayMenu"));
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(menu); }));
  EXPECT_TRUE(app.Running());
}

TEST(Lifecycle, LogOffWhileTheEndLineReportIsOpenIsAnsweredYesAndEndsWithCodeZero) {
  TessarilProcess app;
  const std::string logs = app.FilePath("logs");
  ASSERT_TRUE(CreateDirectoryA(logs.c_str(), nullptr));
  LaunchOptions options;
  options.ini = "[main]\r\nMemoryLimit=0\r\nSaveLog=1\r\nSavePath=" + logs + "\\Tessaril.log\r\n";
  app.Start(options);
  HWND application = WindowOfClass(app, "TApplication");
  ASSERT_NE(application, nullptr);
  ASSERT_TRUE(WaitFor([&] { return app.ReadFile("logs\\Tessaril.log").has_value(); }));
  DeleteFileA((logs + "\\Tessaril.log").c_str());
  ASSERT_TRUE(RemoveDirectoryA(logs.c_str()));
  app.Close();
  // The exit steps have begun: the settings dialog is gone.
  ASSERT_NE(app.FindDialog("Tessaril"), nullptr) << "the end line cannot be written";
  DWORD_PTR reply = 0;
  ASSERT_TRUE(SendMessageTimeoutA(app.MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                  SMTO_ABORTIFHUNG, 5000, &reply));
  EXPECT_EQ(reply, 1u);
  SendMessageTimeoutA(application, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                      &reply);
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}
