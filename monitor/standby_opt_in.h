#pragma once
#include <cstdint>

#include "platform/types.h"

// The main window's opt-in to the suspend and resume broadcasts. On a
// machine with Modern Standby, Windows 8 and later suspend the program
// without them unless it asked: no suspend or resume line, no sleep time,
// no sleep in the graph. Cancelled at the end, or when the object goes.
class SuspendResumeOptIn {
 public:
  SuspendResumeOptIn() = default;
  ~SuspendResumeOptIn() { Cancel(); }
  SuspendResumeOptIn(const SuspendResumeOptIn&) = delete;
  SuspendResumeOptIn& operator=(const SuspendResumeOptIn&) = delete;

  // Registers the window, unless it is registered already. A system without
  // the function (before Windows 8) leaves nothing to cancel.
  void Register(WindowId window);
  void Cancel();

 private:
  std::uintptr_t registration_ = 0;
};
