#pragma once
#include <windows.h>

#include <memory>

#include "monitor/history.h"
#include "monitor/wake_reason.h"
#include "platform/controls.h"
#include "platform/win32/win32_owned.h"
#include "shell/base_window_win32.h"
#include "shell/form1.h"
#include "shell/graph_window_win32.h"
#include "shell/memo_batch.h"
#include "shell/tray_window_win32.h"
#include "shell/window_timer_win32.h"

// The native main window: class "TForm1" with its menu bar and the event list
// filling its client area. It cracks messages and calls the named handlers
// of TForm1.
class MainWindow : public BaseWindow, public FormWindow, public Memo, public TimerDevice {
 public:
  MainWindow();
  ~MainWindow() override;

  // Creates the window, hidden and owned by `owner`, and the TForm1 logic
  // behind it; FormCreate runs once the window exists.
  void Create(HINSTANCE instance, HWND owner);
  TForm1& form() { return *form_; }

  WindowId Handle() override { return reinterpret_cast<WindowId>(hwnd_); }
  void DefaultHandler(TMessage& message) override;
  void ShowNative(int showCommand) override;
  WindowId CreateTrayWindow() override;
  void DestroyTrayWindow() override;
  void PostBatteryWarning(std::int32_t limit, std::uint8_t percent) override;
  void AppendLine(const std::string& line) override;
  bool Start(std::uint32_t intervalMs) override;
  void Stop() override;

  std::int32_t Left() override { return Bounds().left; }
  std::int32_t Top() override { return Bounds().top; }
  std::int32_t Width() override;
  std::int32_t Height() override;
  void SetLeft(std::int32_t value) override;
  void SetTop(std::int32_t value) override;
  void SetWidth(std::int32_t value) override;
  void SetHeight(std::int32_t value) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void LayoutMemo();
  // The event list's font for the DPI of the window.
  void SetMemoFont(int dpi);
  // Another monitor's scale: the place the system suggests (unless the
  // program is placing the window itself), the font for the new DPI.
  void OnDpiChanged(int dpi, const RECT& suggested);
  // Appends the gathered lines to the edit control in one go.
  void FlushMemo();
  // FlushMemo, its failure reported once until an append goes through.
  void FlushMemoReported();
  static LRESULT CALLBACK MemoProc(HWND memo, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
  HMENU CreateMainMenu1();
  // The restored bounds: a minimised window keeps those, not its icon's.
  RECT Bounds();
  void SetBounds(const RECT& bounds);

  HINSTANCE instance_ = nullptr;
  HWND memo_ = nullptr;
  OwnedFont memoFont_;
  // While the saved bounds are applied, they hold as given, in physical
  // pixels, on whichever monitor they land.
  bool applyingBounds_ = false;
  WNDPROC memoProc_ = nullptr;
  HHOOK creationHook_ = nullptr;
  MemoBatch memoBatch_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<TrayWindow> trayWindow_;
  // The graph's samples, taken here whatever the monitoring does.
  std::unique_ptr<History> history_ = std::make_unique<History>();
  std::unique_ptr<GraphWindow> graph_ = std::make_unique<GraphWindow>(*history_);
  // What woke the machine, looked up after a resume; its lines go to this
  // window's list.
  WindowTimer wakeTimer_;
  WakeReasonLookup wakeReason_{*this, wakeTimer_};
};
