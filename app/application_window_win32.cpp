#include "app/application_window_win32.h"

#include "shell/form1.h"

namespace {
constexpr char kApplicationClass[] = "TApplication";
}  // namespace

ApplicationWindow::~ApplicationWindow() { Destroy(); }

HWND ApplicationWindow::Create(HINSTANCE instance, const char* title) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, "MAINICON");
  wc.lpszClassName = kApplicationClass;
  RegisterClassA(&wc);
  // Zero-sized at the screen's centre: it is "shown" only to carry the
  // task-bar button.
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
  return CreateWindowExA(0, kApplicationClass, title,
                         WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x,
                         y, 0, 0, nullptr, nullptr, instance, this);
}

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          Guarded([] { Application->Minimize(); });
          return 0;
        case SC_RESTORE:
          Guarded([] { Application->Restore(); });
          return 0;
        case SC_CLOSE:
          if (Form1 != nullptr) Guarded([] { Form1->Close(); });
          return 0;
      }
      break;
    case WM_CLOSE:
      if (Form1 != nullptr) Guarded([] { Form1->Close(); });
      return 0;
    case WM_ACTIVATE:
      // Activated by a click on the task-bar button or by the restore.
      if (LOWORD(wParam) != WA_INACTIVE) PassActivationLater();
      break;
    case kPassActivation:
      PassActivation();
      return 0;
    case WM_ENDSESSION:
      if (wParam && onEndSession) onEndSession();
      return 0;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}
