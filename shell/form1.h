#pragma once
#include <string>

#include "monitor/ttimer.h"
#include "platform/controls.h"
#include "platform/types.h"

// The main window's logic: its handlers, named after the control and the
// event, and the controls they drive. The native window lives in the shell's
// Win32 code and forwards messages here.
class TForm1 {
 public:
  TForm1(FormWindow& window, Memo& memo, TimerDevice& timer);

  WindowId Handle() { return window_.Handle(); }

  void WMPowerBroadcast(TMessage& message);
  void Timer1Timer();

  Memo& Memo1;
  TTimer Timer1;

 private:
  FormWindow& window_;
};

// The main window of the running program; null before it is created.
extern TForm1* Form1;
