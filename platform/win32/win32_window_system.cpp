#include "platform/win32/win32_window_system.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "platform/win32/win32_dpi.h"

#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the 32-bit icon record is 88 bytes");
#endif

namespace {

void Dispatch(const MSG& msg) {
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

}  // namespace

bool Win32WindowSystem::WaitAndDispatch() {
  MSG msg;
  const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
  if (got == 0) return false;
  if (got > 0) Dispatch(msg);
  return true;
}

bool Win32WindowSystem::DispatchPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return false;
    Dispatch(msg);
  }
  return true;
}

void Win32WindowSystem::PostQuit() { PostQuitMessage(0); }

void Win32WindowSystem::Show(WindowId window, int command) { ShowWindow(ToHwnd(window), command); }

bool Win32WindowSystem::IsIconic(WindowId window) { return ::IsIconic(ToHwnd(window)) != 0; }

bool Win32WindowSystem::IsZoomed(WindowId window) { return ::IsZoomed(ToHwnd(window)) != 0; }

bool Win32WindowSystem::IsVisible(WindowId window) { return IsWindowVisible(ToHwnd(window)) != 0; }

void Win32WindowSystem::ShowOwned(WindowId owner, bool show) {
  ShowOwnedPopups(ToHwnd(owner), show ? TRUE : FALSE);
}

void Win32WindowSystem::SetForeground(WindowId window) { SetForegroundWindow(ToHwnd(window)); }

WindowId Win32WindowSystem::Find(const std::string& className, const std::string& title) {
  return ToWindowId(FindWindowA(className.c_str(), title.c_str()));
}

ScreenPoint Win32WindowSystem::CursorPos() {
  POINT p = {};
  GetCursorPos(&p);
  return {p.x, p.y};
}

void Win32WindowSystem::PostNull(WindowId window) { PostMessageA(ToHwnd(window), WM_NULL, 0, 0); }

int Win32WindowSystem::LaunchShowCommand() {
  STARTUPINFOA info;
  std::memset(&info, 0, sizeof info);
  info.cb = sizeof info;
  GetStartupInfoA(&info);
  return (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : SW_SHOWDEFAULT;
}

std::uint32_t Win32WindowSystem::TakeNamedMutex(const std::string& name) {
  // The handle is never closed: the process owns the mutex until it ends.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  return WaitForSingleObject(mutex, 0);
}

std::uint32_t Win32WindowSystem::RegisterMessage(const std::string& name) {
  return RegisterWindowMessageA(name.c_str());
}

void Win32WindowSystem::NotifyIcon(std::uint32_t action, const TrayIconData& data) {
  NOTIFYICONDATAA record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = ToHwnd(data.window);
  record.uID = data.id;
  record.uFlags = data.flags;
  record.uCallbackMessage = data.callbackMessage;
  // The small-icon size of the window's DPI, from the icon's own images;
  // the shell keeps a copy.
  OwnedIcon icon;
  if (data.withIcon) {
    const int size = SystemMetricForDpi(SM_CXSMICON, WindowDpi(record.hWnd));
    icon = LoadIconSized(GetModuleHandleA(nullptr), L"MAINICON", size);
    record.hIcon = icon.get();
  }
  std::memcpy(record.szTip, data.tip, sizeof record.szTip);
  Shell_NotifyIconA(action, &record);
}

HWND FrontWindowOfThread(HWND except) {
  const DWORD thread = GetCurrentThreadId();
  for (HWND window = GetTopWindow(nullptr); window != nullptr;
       window = GetWindow(window, GW_HWNDNEXT)) {
    if (window != except && GetWindowThreadProcessId(window, nullptr) == thread &&
        IsWindowVisible(window) && IsWindowEnabled(window))
      return window;
  }
  return nullptr;
}

HMENU CreatePopupMenuOf(const std::vector<MenuItem>& items) {
  HMENU menu = CreatePopupMenu();
  for (const MenuItem& item : items) {
    if (item.caption == "-")
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuA(menu, MF_STRING, item.command, item.caption.c_str());
  }
  return menu;
}

void Win32WindowSystem::TrackPopup(const std::vector<MenuItem>& items, int x, int y,
                                   std::uint32_t flags, WindowId owner) {
  HMENU menu = CreatePopupMenuOf(items);
  TrackPopupMenu(menu, flags, x, y, 0, ToHwnd(owner), nullptr);
  DestroyMenu(menu);
}
