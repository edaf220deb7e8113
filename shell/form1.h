#pragma once
#include <cstdint>
#include <string>

#include "monitor/battery_warning.h"
#include "monitor/history.h"
#include "monitor/memory_watch.h"
#include "monitor/standby_opt_in.h"
#include "monitor/suspend_time.h"
#include "monitor/ttimer.h"
#include "platform/controls.h"
#include "platform/types.h"

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone = 0, caHide = 1, caFree = 2, caMinimize = 3 };

// The callback message of the notification-area icon (WM_APP + 0x309).
inline constexpr std::uint32_t WM_TASKTRAY = 0x8309;
inline constexpr std::intptr_t kLeftButtonUp = 0x202;
inline constexpr std::intptr_t kRightButtonUp = 0x205;
// Menu commands of both menus.
inline constexpr std::uint32_t kCommandSettings = 101;
inline constexpr std::uint32_t kCommandExit = 102;
inline constexpr std::uint32_t kCommandGraph = 103;
inline constexpr std::uint32_t kPopupFlags = 0x0002;  // TPM_RIGHTBUTTON, left-aligned

// The main window's logic: its handlers, named after the control and the
// event, and the controls they drive. The native window lives in the shell's
// Win32 code and forwards messages here.
class TForm1 {
 public:
  TForm1(FormWindow& window, Memo& memo, TimerDevice& timer);

  WindowId Handle() { return window_.Handle(); }

  // Each handler lives with its subsystem; the file that defines it is
  // named beside it.
  void FormCreate();                          // shell/tray_icon.cpp
  void FormShow();                            // app/form_show.cpp
  void FormCloseQuery(bool& CanClose);        // settings/apply_settings.cpp
  void FormClose(TCloseAction& Action);       // shell/form1.cpp
  void FormDestroy();                         // app/form_destroy.cpp

  void WMPowerBroadcast(TMessage& message);   // monitor/power_event.cpp
  void Timer1Timer();                         // monitor/memory_watch.cpp
  void TaskTrayWndProc(TMessage& message);    // shell/tray_icon.cpp
  void O1Click();                             // settings/apply_settings.cpp
  void X1Click();                             // shell/form1.cpp
  void AppMinimize();                         // shell/form1.cpp

  void CreateTaskBarIcon();  // shell/tray_icon.cpp
  void DeleteTaskBarIcon();  // shell/tray_icon.cpp

  // The visible property: turning it on for the first time runs FormShow.
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);  // shell/form1.cpp
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState state);  // shell/form1.cpp
  // A close request from any source: close query, close rule, then the end
  // of the application.
  void Close();  // shell/form1.cpp

  // The shell's broadcast after it re-created the task bar.
  bool IsTaskbarCreated(std::uint32_t message) const {
    return TaskbarCreatedMsg != 0 && message == TaskbarCreatedMsg;
  }

  // Bounds of the window in screen pixels.
  std::int32_t Left() { return window_.Left(); }
  std::int32_t Top() { return window_.Top(); }
  std::int32_t Width() { return window_.Width(); }
  std::int32_t Height() { return window_.Height(); }
  void SetLeft(std::int32_t value) { window_.SetLeft(value); }
  void SetTop(std::int32_t value) { window_.SetTop(value); }
  void SetWidth(std::int32_t value) { window_.SetWidth(value); }
  void SetHeight(std::int32_t value) { window_.SetHeight(value); }

  Memo& Memo1;
  TTimer Timer1;
  // Registered by FormCreate, cancelled by FormDestroy.
  SuspendResumeOptIn SuspendResume;
  std::uint32_t TaskbarCreatedMsg = 0;
  WindowId TaskTrayWnd = 0;
  // What the monitoring remembers from one event to the next.
  AlertGate MemoryAlert;
  BatteryWarning Battery;
  SuspendTime LastSuspend;
  // The graph's samples, owned by the native window; a power event adds one.
  History* Samples = nullptr;

  void PostBatteryWarning(std::int32_t limit, std::uint8_t percent) {
    window_.PostBatteryWarning(limit, percent);
  }

 private:
  FormWindow& window_;
  bool visible_ = false;
  TWindowState windowState_ = TWindowState::wsNormal;
};

// The main window of the running program; null before it is created.
extern TForm1* Form1;
