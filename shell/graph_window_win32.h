#pragma once
#include <windows.h>

#include "monitor/history.h"
#include "shell/base_window_win32.h"

// The "推移グラフ" window: the last day of samples drawn in two plots. One
// window at most; it reads the history and nothing else.
class GraphWindow : public BaseWindow {
 public:
  explicit GraphWindow(const History& history) : history_(history) {}
  ~GraphWindow() override;

  // Opens the window at its saved place, or brings the open one to the front.
  void Open(HINSTANCE instance);
  // Draws again with the newest samples, if the window is open.
  void Refresh();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormPaint();
  void SaveBounds();

  const History& history_;
  HFONT font_ = nullptr;
};
