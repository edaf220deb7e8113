#pragma once
#include <windows.h>

#include <memory>

#include "platform/controls.h"
#include "shell/base_window_win32.h"
#include "shell/form1.h"

// The native main window: class "TForm1" with the event list filling its
// client area. It cracks messages and calls the named handlers of TForm1.
class MainWindow : public BaseWindow, public FormWindow, public Memo, public TimerDevice {
 public:
  MainWindow();
  ~MainWindow() override;

  // Creates the window, hidden, and the TForm1 logic behind it.
  void Create(HINSTANCE instance);
  TForm1& form() { return *form_; }

  WindowId Handle() override { return reinterpret_cast<WindowId>(hwnd_); }
  void DefaultHandler(TMessage& message) override;
  void AppendLine(const std::string& line) override;
  bool Start(std::uint32_t intervalMs) override;
  void Stop() override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void LayoutMemo();

  HWND memo_ = nullptr;
  HFONT memoFont_ = nullptr;
  std::unique_ptr<TForm1> form_;
};
