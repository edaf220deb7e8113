#pragma once
#include <windows.h>

#include <exception>

#include "app/application.h"

// One native window per object: `this` arrives through lpCreateParams and is
// stored with the HWND in WM_NCCREATE; every later message goes to
// HandleMessage of that object.
class BaseWindow {
 public:
  virtual ~BaseWindow() = default;
  HWND hwnd() const { return hwnd_; }
  // Destroys the window if it exists. A subclass calls it from its own
  // destructor: the window's last messages still need its HandleMessage.
  void Destroy() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  }

 protected:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BaseWindow* self;
    if (message == WM_NCCREATE) {
      self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
  }

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // Runs a handler; an error leaving it ends the handler and goes to the
  // general error report. Exceptions never cross the system's frames.
  template <typename Handler>
  static void Guarded(Handler handler) {
    try {
      handler();
    } catch (const std::exception& error) {
      Application->ShowException(error);
    }
  }

  HWND hwnd_ = nullptr;
};
