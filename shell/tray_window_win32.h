#pragma once
#include <windows.h>

#include "shell/base_window_win32.h"
#include "shell/form1.h"

// The hidden window that receives the icon's callback messages.
class TrayWindow : public BaseWindow {
 public:
  explicit TrayWindow(TForm1& form) : form_(form) {}
  ~TrayWindow() override { Destroy(); }
  HWND Create(HINSTANCE instance);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  TForm1& form_;
};
