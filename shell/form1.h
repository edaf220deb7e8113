#pragma once
#include <cstdint>
#include <string>

#include "platform/controls.h"
#include "platform/types.h"

// The main window's logic: its handlers, named after the control and the
// event, and the controls they drive. The native window lives in the shell's
// Win32 code and forwards messages here.
class TForm1 {
 public:
  TForm1(FormWindow& window, Memo& memo);

  WindowId Handle() { return window_.Handle(); }

  void WMPowerBroadcast(TMessage& message);

  // Bounds of the window in screen pixels.
  std::int32_t Left() { return window_.Left(); }
  std::int32_t Top() { return window_.Top(); }
  std::int32_t Width() { return window_.Width(); }
  std::int32_t Height() { return window_.Height(); }
  void SetLeft(std::int32_t value) { window_.SetLeft(value); }
  void SetTop(std::int32_t value) { window_.SetTop(value); }
  void SetWidth(std::int32_t value) { window_.SetWidth(value); }
  void SetHeight(std::int32_t value) { window_.SetHeight(value); }

  // The settings command and the close query; both save the settings
  // (settings/apply_settings.cpp).
  void O1Click();
  void FormCloseQuery(bool& CanClose);

  Memo& Memo1;

 private:
  FormWindow& window_;
};

// The main window of the running program; null before it is created.
extern TForm1* Form1;
