#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/shared/driver_support_win32.h"

// Drives the real program from outside, through its windows only, the way
// the system and the user reach it. Texts go and come as Shift-JIS bytes.

using Timeout = std::chrono::milliseconds;

// Generous ceilings: every wait polls and returns as soon as its condition
// holds, so they cost nothing when the program is quick. A 32-bit program
// under qemu needs seconds to start.
inline constexpr Timeout kStartTimeout{20000};
inline constexpr Timeout kDialogTimeout{5000};
inline constexpr Timeout kExitTimeout{10000};
inline constexpr Timeout kReplyTimeout{5000};

// The notification-area icon's callback message: the mouse event over the
// icon comes in lParam.
inline constexpr UINT kTaskTray = 0x8309;

// What Start waits for before it returns.
enum class StartWait {
  kNothing,          // a start with no main window (a second instance)
  kMainWindow,       // the main window exists, maybe hidden (a start parked in the tray)
  kMainWindowShown,  // the main window is visible, so the start sequence has run
};

struct LaunchOptions {
  // Bytes of Tessaril.ini, written beside the exe before it starts.
  std::optional<std::string> ini;
  // The launch's show command (STARTF_USESHOWWINDOW); unset leaves the flag off.
  std::optional<WORD> showCommand;
  StartWait wait = StartWait::kMainWindowShown;
};

// One copy of the program ($TESSARIL_EXE) in a fresh folder of its own, so
// its Tessaril.ini and Tessaril.log belong to one test. The process is killed
// and the folder removed when the object goes.
class TessarilProcess {
 public:
  TessarilProcess();
  ~TessarilProcess();
  TessarilProcess(const TessarilProcess&) = delete;
  TessarilProcess& operator=(const TessarilProcess&) = delete;

  // Starts the copy and waits as the options say. Throws on failure or
  // timeout.
  void Start(const LaunchOptions& options = {});

  const std::string& Folder() const { return folder_; }
  std::string FilePath(const std::string& name) const { return folder_ + "\\" + name; }
  DWORD ProcessId() const { return processId_; }
  bool Running() const;

  // The top-level "TForm1" window, shown or not.
  HWND MainWindow() const { return mainWindow_; }
  // The event list's text (the main window's EDIT control).
  std::string MemoText() const;

  // WM_POWERBROADCAST to the main window; returns its reply. Throws when the
  // program does not answer in time.
  LRESULT SendPowerBroadcast(WPARAM code, LPARAM data) const;

  // The process's top-level windows, hidden ones included.
  std::vector<HWND> WindowsOfProcess() const;
  // Waits for a visible dialog (class "#32770") of the process with exactly
  // this caption; null on timeout.
  HWND FindDialog(const std::string& caption, Timeout timeout = kDialogTimeout) const;

  // Asks the main window to close, as its close box does; does not wait.
  void Close() const;
  // The exit code, or nothing if the process still runs after the timeout.
  std::optional<DWORD> WaitForExit(Timeout timeout = kExitTimeout) const;
  void Kill();

  // The bytes of a file in the program's folder; nothing if it is missing.
  std::optional<std::string> ReadFile(const std::string& name) const;
  void WriteFile(const std::string& name, const std::string& bytes) const;

  // Whether the exe under test is the 32-bit build.
  bool Is32Bit() const;
  // The line in which qemu-i386, which runs the 32-bit exe here, said it
  // died of a signal since this copy started; nothing when it did not.
  std::optional<std::string> EmulatorCrash() const;

  // Where a screenshot of this test goes: name + ".win32.bmp" or ".win64.bmp"
  // (after the program's build) in $TESSARIL_SCREENSHOTS, created if missing,
  // or in the working folder when that is unset.
  std::string ScreenshotPath(const std::string& name) const;

 private:
  std::string folder_;
  std::string exePath_;
  HANDLE process_ = nullptr;
  HANDLE job_ = nullptr;
  DWORD processId_ = 0;
  HWND mainWindow_ = nullptr;
  std::size_t emulatorLogStart_ = 0;
};

// Polls the condition until it holds; false when the timeout passed first.
bool WaitFor(const std::function<bool()>& condition, Timeout timeout = kDialogTimeout);
// A window's class name.
std::string ClassOf(HWND window);
// The process's top-level window of this class, shown or not, waited for;
// null on timeout.
HWND WindowOfClass(const TessarilProcess& app, const std::string& className,
                   Timeout timeout = kDialogTimeout);
// The `nth` control (0 for the first, in creation order, at any depth) of
// `parent` of this window class (any case) and, unless null, with this
// caption; null when there is none. Controls are found as a user finds
// them, by what they show and where, not by the program's ids.
HWND FindControl(HWND parent, const std::string& className, const char* caption = nullptr,
                 int nth = 0);

// The settings dialog's controls, by their designer's names, found as a
// user finds them: by caption, class and the field a caption stands beside.
struct SettingsControls {
  HWND pageControl1, tabSheet1, tabSheet2, panel1, label1, button1;
  HWND groupBox4, label2, edMemLimit, label5;
  HWND groupBox1, cbSaveLog, edSavePath, cbDateLog, btnSavePath;
  HWND groupBox3, cbWavePower, cbWaveRes, edWavePower, edWaveRes, btnWavePower, btnWaveRes;
  HWND groupBox5, cbSuspendLog, label6, edBatteryLimit, label7;
  HWND groupBox6, cbTopPrograms, cbAlertOnce;
};
// Throws when one of them is missing.
SettingsControls FindSettingsControls(HWND dialog);

// A right click on the notification-area icon, then the item of its menu
// with this mnemonic, by keyboard, as a user chooses it: 'g' グラフ, 'o' 設定,
// 'x' 終了. Returns when the menu has closed.
void TrayMenuCommand(const TessarilProcess& app, char mnemonic);

// The message text of a message box (its static control 0xFFFF).
std::string MessageBoxText(HWND dialog);
// Presses a dialog's button by posting the notification the button would
// send, so a dialog that opens another modal dialog cannot block the caller.
void ClickButton(HWND dialog, int id);

// Runs the settings command and waits for the dialog to show; null when it
// did not.
HWND OpenSettings(const TessarilProcess& app);
// グラフ from the tray menu; the graph window once it shows, or null.
HWND OpenGraph(const TessarilProcess& app);
// Waits for the program's message box with this caption and answers it with
// OK. Returns the text it showed, with a note when it did not go away, or
// a note alone when no such box came.
std::string AnswerBox(const TessarilProcess& app, const std::string& caption);
// The window with the keyboard focus in the thread of `window`.
HWND Focus(HWND window);
// A control's place in its parent's client area.
RECT PlaceInParent(HWND control);

// The display scale of every program started while it lives: Wine takes it
// from HKCU\Control Panel\Desktop LogPixels when a program starts. The
// value found (or its absence) comes back when it goes; the driver keeps the
// DPI it started with.
class ScreenDpi {
 public:
  explicit ScreenDpi(DWORD dpi);
  ~ScreenDpi();
  ScreenDpi(const ScreenDpi&) = delete;
  ScreenDpi& operator=(const ScreenDpi&) = delete;

 private:
  std::optional<DWORD> previous_;
};

// Copies a window's screen area (or, for null, the whole screen) to a .bmp.
// Throws on failure.
void SaveScreenshot(HWND window, const std::string& path);
