#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "tests/e2e/harness.h"

// The program as a user meets it on the desktop: its task-bar button, where
// the keyboard goes, and boxes that leave the tray, the settings and every
// window usable.

namespace {

constexpr UINT kTaskTray = 0x8309;

GUITHREADINFO ThreadState(const TessarilProcess& app) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(app.MainWindow(), nullptr), &info);
  return info;
}

// The window is the program's active one and the keyboard is in it: in the
// event list (the main window's only child), or in a control of a dialog.
bool KeyboardIn(const TessarilProcess& app, HWND window) {
  const GUITHREADINFO state = ThreadState(app);
  return state.hwndActive == window && state.hwndFocus != nullptr &&
         GetParent(state.hwndFocus) != nullptr && GetAncestor(state.hwndFocus, GA_ROOT) == window;
}

std::string Activation(const TessarilProcess& app) {
  const GUITHREADINFO state = ThreadState(app);
  char text[96];
  std::snprintf(text, sizeof text, "active %p focus %p",
                static_cast<void*>(state.hwndActive), static_cast<void*>(state.hwndFocus));
  return text;
}

// The classes of the program's disabled top-level windows, hidden ones too,
// but for the input method's window, which the system creates disabled.
std::string Disabled(const TessarilProcess& app) {
  std::string classes;
  for (HWND window : app.WindowsOfProcess())
    if (!IsWindowEnabled(window) && ClassOf(window) != "IME") classes += ClassOf(window) + " ";
  return classes;
}

HWND VisibleSettingsDialog(const TessarilProcess& app) {
  HWND dialog = WindowOfClass(app, "TForm2", Timeout{0});
  return dialog != nullptr && IsWindowVisible(dialog) ? dialog : nullptr;
}

// A right click on the icon, then 設定, the menu's first item, by keyboard.
void SettingsFromTray(HWND tray) {
  PostMessageA(tray, kTaskTray, 0, WM_RBUTTONUP);
  HWND menu = nullptr;
  WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); });
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace

TEST(Presence, TaskBarButtonAndKeyboardAfterStartRestoreAndActivation) {
  TessarilProcess app;
  LaunchOptions options;
  options.showCommand = SW_SHOWNORMAL;
  app.Start(options);
  HWND application = WindowOfClass(app, "TApplication");
  HWND tray = WindowOfClass(app, "TTaskTrayWnd");
  ASSERT_NE(application, nullptr);
  ASSERT_NE(tray, nullptr);
  const auto buttonShown = [&] { return IsWindowVisible(application) && !IsIconic(application); };
  const auto inList = [&] { return KeyboardIn(app, app.MainWindow()); };
  EXPECT_TRUE(buttonShown()) << "after the start";
  EXPECT_TRUE(WaitFor(inList)) << "after the start; " << Activation(app);

  PostMessageA(app.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(application); }));
  PostMessageA(tray, kTaskTray, 0, WM_LBUTTONUP);
  EXPECT_TRUE(WaitFor(buttonShown)) << "after the restore";
  EXPECT_TRUE(WaitFor(inList)) << "after the restore; " << Activation(app);

  // Another program in front; then a click on the task-bar button, which
  // activates the application window.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  ASSERT_TRUE(WaitFor([&] { return ThreadState(app).hwndActive == nullptr; }))
      << Activation(app);
  SetForegroundWindow(application);
  EXPECT_TRUE(WaitFor(inList)) << "after the task-bar click; " << Activation(app);
  DestroyWindow(other);
}

TEST(Presence, BoxesLeaveTheTrayTheSettingsAndEveryWindowUsable) {
  struct Case {
    const char* what;
    const char* caption;
    std::string ini;  // after "[main]", with the folder for "%s"
  };
  const Case cases[] = {
      {"memory alert", "情報", "MemoryLimit=4096"},  // above the 4095 MB the watch can see
      // A folder in the log file's place: the start line cannot be written.
      {"log write failed", "Tessaril", "MemoryLimit=0\r\nSaveLog=1\r\nSavePath=%s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TessarilProcess app;
    std::string ini = c.ini;
    if (ini.find("%s") != std::string::npos) ini.replace(ini.find("%s"), 2, app.Folder());
    LaunchOptions options;
    options.ini = "[main]\r\n" + ini + "\r\n";
    options.wait = StartWait::kMainWindow;
    app.Start(options);
    HWND box = app.FindDialog(c.caption, kStartTimeout);
    ASSERT_NE(box, nullptr);
    HWND tray = WindowOfClass(app, "TTaskTrayWnd");
    ASSERT_NE(tray, nullptr);

    SettingsFromTray(tray);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = VisibleSettingsDialog(app)) != nullptr; }));
    EXPECT_TRUE(WaitFor([&] { return KeyboardIn(app, dialog); })) << Activation(app);
    PostMessageA(ThreadState(app).hwndFocus, WM_SYSCHAR, 'o', 1 << 29);  // Alt+O: OK
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    EXPECT_TRUE(IsWindowVisible(box));
    ClickButton(box, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(WaitFor([&] { return Disabled(app).empty(); })) << Disabled(app);

    // 設定 again while the dialog is open: the report, then both close.
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(app.MainWindow()) != FALSE; }));
    SettingsFromTray(tray);
    ASSERT_TRUE(WaitFor([&] { return (dialog = VisibleSettingsDialog(app)) != nullptr; }));
    SettingsFromTray(tray);
    HWND report = app.FindDialog("Tessaril");
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(MessageBoxText(report), "表示されているウィンドウをモーダルにすることはできません.");
    ClickButton(report, IDOK);
    EXPECT_TRUE(WaitFor([&] { return KeyboardIn(app, dialog); })) << Activation(app);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    EXPECT_TRUE(WaitFor([&] { return Disabled(app).empty(); })) << Disabled(app);
    EXPECT_TRUE(WaitFor([&] { return KeyboardIn(app, app.MainWindow()); })) << Activation(app);
    app.Kill();
  }
}
