#pragma once
#include <windows.h>

#include "monitor/history.h"
#include "platform/dpi_scale.h"
#include "platform/platform.h"
#include "shell/base_window_win32.h"
#include "shell/gdi_win32.h"

// The "推移グラフ" window: the last day of samples drawn in two plots. One
// window at most; it reads the history and nothing else.
class GraphWindow : public BaseWindow {
 public:
  explicit GraphWindow(const History& history) : history_(history) {}
  ~GraphWindow() override;

  // Opens the window, owned by `owner`, at its saved place brought onto a
  // monitor, or brings the open one to the front.
  void Open(HINSTANCE instance, HWND owner);
  // Draws again with the newest samples, if the window is open.
  void Refresh();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The font and the sizes for this DPI.
  void ApplyDpi(int dpi);
  // Moved to a monitor of another scale: the font for the new DPI, the
  // place Windows suggests, and the layout again.
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnPaint();
  void FormPaint(HDC target);
  void OnContextMenu(LPARAM lParam);
  void OnDestroy();
  void SaveBounds();

  const History& history_;
  OwnedFont font_;
  int dpi_ = kDesignDpi;
  bool painting_ = false;
  // A place that could not be saved was reported; a later success clears it.
  bool saveReported_ = false;
  FileDialogRequest csvDialog_;
};
