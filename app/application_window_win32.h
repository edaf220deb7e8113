#pragma once
#include <windows.h>

#include <functional>

#include "shell/base_window_win32.h"

// The invisible application window: owner of the program's windows and
// carrier of its task-bar button.
class ApplicationWindow : public BaseWindow {
 public:
  ~ApplicationWindow() override;
  HWND Create(HINSTANCE instance, const char* title);

  // Runs when a log-off or shutdown goes ahead.
  std::function<void()> onEndSession;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
