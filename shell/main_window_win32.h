#pragma once
#include <windows.h>

#include <memory>

#include "platform/controls.h"
#include "shell/base_window_win32.h"
#include "shell/form1.h"

// The native main window: class "TForm1" with the event list filling its
// client area. It cracks messages and calls the named handlers of TForm1.
class MainWindow : public BaseWindow, public FormWindow, public Memo {
 public:
  MainWindow();
  ~MainWindow() override;

  // Creates the window, hidden, and the TForm1 logic behind it.
  void Create(HINSTANCE instance);
  TForm1& form() { return *form_; }

  WindowId Handle() override { return reinterpret_cast<WindowId>(hwnd_); }
  void DefaultHandler(TMessage& message) override;
  void AppendLine(const std::string& line) override;

  std::int32_t Left() override { return Bounds().left; }
  std::int32_t Top() override { return Bounds().top; }
  std::int32_t Width() override { return Bounds().right - Bounds().left; }
  std::int32_t Height() override { return Bounds().bottom - Bounds().top; }
  void SetLeft(std::int32_t value) override;
  void SetTop(std::int32_t value) override;
  void SetWidth(std::int32_t value) override;
  void SetHeight(std::int32_t value) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void LayoutMemo();
  HMENU CreateMainMenu();
  void OnMenuCommand(int id);
  void OnClose();
  // The restored bounds: a minimised window keeps those, not its icon's.
  RECT Bounds();
  void SetBounds(const RECT& bounds);

  HWND memo_ = nullptr;
  HFONT memoFont_ = nullptr;
  std::unique_ptr<TForm1> form_;
};
