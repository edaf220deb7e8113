#include "shell/tray_window_win32.h"

namespace {
constexpr char kTrayWindowClass[] = "TTaskTrayWnd";
}

HWND TrayWindow::Create(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kTrayWindowClass;
  RegisterClassA(&wc);
  return CreateWindowExA(WS_EX_TOOLWINDOW, kTrayWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                         nullptr, instance, this);
}

LRESULT TrayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TASKTRAY) {
    TMessage m{message, wParam, lParam, 0};
    Guarded([&] { form_.TaskTrayWndProc(m); });
    return m.Result;
  }
  // Everything else gets the system's answer; in particular a 0 to the
  // log-off query would veto the user's log-off.
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}
