#include <gtest/gtest.h>
#include <windows.h>

#include "tests/e2e/harness.h"

namespace {


GUITHREADINFO ThreadState(const TessarilProcess& app) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(app.MainWindow(), nullptr), &info);
  return info;
}

// The window is the program's active one and the keyboard is in one of its
// controls (for the main window, the event list).
bool KeyboardIn(const TessarilProcess& app, HWND window) {
  const GUITHREADINFO state = ThreadState(app);
  return state.hwndActive == window && state.hwndFocus != nullptr &&
         state.hwndFocus != window && GetAncestor(state.hwndFocus, GA_ROOT) == window;
}

// Disabled windows of the program, hidden ones too, but for the input
// method's, which the system creates disabled.
std::string Disabled(const TessarilProcess& app) {
  std::string classes;
  for (HWND window : app.WindowsOfProcess())
    if (!IsWindowEnabled(window) && ClassOf(window) != "IME") classes += ClassOf(window) + " ";
  return classes;
}

// A right click on the icon, then its first item, 設定, by keyboard; waits
// for the settings dialog.
HWND SettingsFromTray(const TessarilProcess& app, HWND tray) {
  PostMessageA(tray, kTaskTray, 0, WM_RBUTTONUP);
  HWND menu = nullptr, dialog = nullptr;
  WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); });
  PostMessageA(menu, WM_CHAR, 'o', 0);  // 設定(&O)
  WaitFor([&] { return (dialog = WindowOfClass(app, "TForm2")) && IsWindowVisible(dialog); });
  return dialog;
}

}  // namespace

TEST(Presence, TaskBarButtonAndKeyboardAfterStartRestoreAndActivation) {
  TessarilProcess app;
  LaunchOptions options;
  options.showCommand = SW_SHOWNORMAL;
  app.Start(options);
  HWND application = WindowOfClass(app, "TApplication"), tray = WindowOfClass(app, "TTaskTrayWnd");
  ASSERT_TRUE(application && tray);
  const auto inList = [&] { return KeyboardIn(app, app.MainWindow()); };
  EXPECT_TRUE(IsWindowVisible(application) && !IsIconic(application)) << "the task-bar button";
  EXPECT_TRUE(WaitFor(inList)) << "after the start";

  PostMessageA(app.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(application); }));
  PostMessageA(tray, kTaskTray, 0, WM_LBUTTONUP);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(application) && !IsIconic(application); }));
  EXPECT_TRUE(WaitFor(inList)) << "after the restore";

  // Another program in front, then a click on the task-bar button, which
  // activates the application window.
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99, nullptr,
                               nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  ASSERT_TRUE(WaitFor([&] { return ThreadState(app).hwndActive == nullptr; }));
  SetForegroundWindow(application);
  EXPECT_TRUE(WaitFor(inList)) << "after the task-bar click";
  DestroyWindow(other);
}

TEST(Presence, BoxesLeaveTheTrayTheSettingsAndEveryWindowUsable) {
  // At the start: the memory alert (a limit above the 4095 MB the watch can
  // see), or the report of a start line that cannot be written (a folder in
  // the log file's place).
  for (const char* caption : {"情報", "Tessaril"}) {
    SCOPED_TRACE(caption);
    TessarilProcess app;
    LaunchOptions options;
    options.ini = caption == std::string("情報")
                      ? "[main]\r\nMemoryLimit=4096\r\n"
                      : "[main]\r\nMemoryLimit=0\r\nSaveLog=1\r\nSavePath=" + app.Folder() + "\r\n";
    options.wait = StartWait::kMainWindow;
    app.Start(options);
    HWND box = app.FindDialog(caption, kStartTimeout), tray = WindowOfClass(app, "TTaskTrayWnd");
    ASSERT_TRUE(box && tray);
    HWND dialog = SettingsFromTray(app, tray);
    ASSERT_TRUE(dialog && IsWindowVisible(dialog));
    EXPECT_TRUE(WaitFor([&] { return KeyboardIn(app, dialog); }));
    PostMessageA(ThreadState(app).hwndFocus, WM_SYSCHAR, 'o', 1 << 29);  // Alt+O: OK
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));
    ClickButton(box, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box) && Disabled(app).empty(); })) << Disabled(app);

    // 設定 again while the dialog is open: the report, then both close.
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(app.MainWindow()) != FALSE; }));
    ASSERT_EQ(SettingsFromTray(app, tray), dialog);
    SettingsFromTray(app, tray);
    HWND report = app.FindDialog("Tessaril");
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(MessageBoxText(report), "表示されているウィンドウをモーダルにすることはできません.");
    ClickButton(report, IDOK);
    EXPECT_TRUE(WaitFor([&] { return KeyboardIn(app, dialog); })) << "the keyboard is back";
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog) && Disabled(app).empty(); }));
    EXPECT_TRUE(WaitFor([&] { return KeyboardIn(app, app.MainWindow()); }));
  }
}
