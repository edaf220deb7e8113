#pragma once
#include <windows.h>

#include <exception>

#include "app/application.h"
#include "platform/win32/win32_window_system.h"

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

  // Activation that landed on this window while it cannot take input (the
  // zero-sized application window, or a window disabled by a modal one)
  // goes on to the program's window in front: once the step that caused it
  // has run to its end, and not while a menu is open, whose end asks again.
  void PassActivationLater() { PostMessageA(hwnd_, kPassActivation, 0, 0); }
  void PassActivation() {
    if (GetActiveWindow() != hwnd_) return;
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetCurrentThreadId(), &thread);
    if (thread.flags & GUI_INMENUMODE) return;
    if (HWND front = FrontWindowOfThread(hwnd_)) SetActiveWindow(front);
  }
  static constexpr UINT kPassActivation = WM_APP + 2;

  HWND hwnd_ = nullptr;
};
