#pragma once
#include <windows.h>

#include "platform/window_system.h"

class Win32WindowSystem : public WindowSystem {
 public:
  bool WaitAndDispatch() override;
  bool DispatchPending() override;
  void PostQuit() override;
  void Show(WindowId window, int command) override;
  bool IsIconic(WindowId window) override;
  bool IsZoomed(WindowId window) override;
  bool IsVisible(WindowId window) override;
  void ShowOwned(WindowId owner, bool show) override;
  void SetForeground(WindowId window) override;
  WindowId Find(const std::string& className, const std::string& title) override;
  ScreenPoint CursorPos() override;
  void PostNull(WindowId window) override;
  int LaunchShowCommand() override;
  std::uint32_t TakeNamedMutex(const std::string& name) override;
  std::uint32_t RegisterMessage(const std::string& name) override;
  void NotifyIcon(std::uint32_t action, const TrayIconData& data) override;
  void TrackPopup(const std::vector<MenuItem>& items, int x, int y, std::uint32_t flags,
                  WindowId owner) override;
};

// The calling thread's top-level window in front that can take input
// (visible and enabled), other than `except`; null when there is none.
HWND FrontWindowOfThread(HWND except);

// A popup menu of these items; the caller owns it.
HMENU CreatePopupMenuOf(const std::vector<MenuItem>& items);

inline HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
inline WindowId ToWindowId(HWND window) { return reinterpret_cast<WindowId>(window); }
