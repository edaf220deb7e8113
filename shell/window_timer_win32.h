#pragma once
#include <windows.h>

#include "platform/controls.h"

// A timer of its own on a window, told apart by its id in WM_TIMER.
class WindowTimer : public TimerDevice {
 public:
  WindowTimer(const HWND& window, UINT_PTR id) : window_(window), id_(id) {}
  bool Start(std::uint32_t intervalMs) override {
    return SetTimer(window_, id_, intervalMs, nullptr) != 0;
  }
  void Stop() override { KillTimer(window_, id_); }

 private:
  const HWND& window_;  // the window's handle, set once it is created
  UINT_PTR id_;
};
