#include "shell/tray_icon.h"

#include <cstring>

#include "app/application.h"
#include "app/texts.h"
#include "platform/platform.h"
#include "settings/app_version.h"
#include "shell/form1.h"
#include "shell/version.h"

namespace {
constexpr std::uint32_t kNifMessage = 1, kNifIcon = 2, kNifTip = 4;
}

TrayIconData TrayIconAddRecord(WindowId trayWindow) {
  TrayIconData data;
  data.window = trayWindow;
  data.id = 0;
  data.flags = kNifMessage | kNifIcon | kNifTip;
  data.callbackMessage = WM_TASKTRAY;
  data.withIcon = true;
  std::memcpy(data.tip, texts::kTrayTip, sizeof texts::kTrayTip);
  return data;
}

TrayIconData TrayIconDeleteRecord(WindowId trayWindow) {
  TrayIconData data;
  data.window = trayWindow;
  return data;
}

std::vector<MenuItem> PopupMenu1Items() {
  return {{texts::kMenuGraph, kCommandGraph},
          {texts::kMenuSettings, kCommandSettings},
          {"-", 0},
          {texts::kMenuExit, kCommandExit}};
}

void TForm1::FormCreate() {
  Application->OnMinimize = [this] { AppMinimize(); };
  AppVersion = GetFileVersionString(Sys().files->ModuleFileName());
  TaskbarCreatedMsg = Sys().windows->RegisterMessage(texts::kTaskbarCreated);
  TaskTrayWnd = window_.CreateTrayWindow();
  CreateTaskBarIcon();
  SuspendResume.Register(Handle());
}

void TForm1::CreateTaskBarIcon() {
  Sys().windows->NotifyIcon(kNimAdd, TrayIconAddRecord(TaskTrayWnd));
}

void TForm1::DeleteTaskBarIcon() {
  Sys().windows->NotifyIcon(kNimDelete, TrayIconDeleteRecord(TaskTrayWnd));
}

void TForm1::TaskTrayWndProc(TMessage& message) {
  WindowSystem& windows = *Sys().windows;
  // Only lParam, as a whole 32-bit value, says what happened over the icon.
  const auto event = static_cast<std::uint32_t>(message.LParam);
  if (event == kLeftButtonUp) {
    if (!Application->MainWindowShown) {
      SetVisible(true);
      Application->MainWindowShown = true;
      windows.Show(Application->Handle, show::kShow);
    }
    windows.Show(Application->Handle, show::kRestore);
    Application->Restore();
    SetWindowState(TWindowState::wsNormal);
    windows.SetForeground(Application->Handle);
  } else if (event == kRightButtonUp) {
    const ScreenPoint cursor = windows.CursorPos();
    // Foreground first and WM_NULL after: the menu then closes when the
    // user clicks elsewhere.
    windows.SetForeground(Handle());
    windows.TrackPopup(PopupMenu1Items(), cursor.x, cursor.y, kPopupFlags, Handle());
    windows.PostNull(Handle());
  }
}
