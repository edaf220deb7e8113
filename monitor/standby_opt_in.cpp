#include "monitor/standby_opt_in.h"

#include "platform/platform.h"

void SuspendResumeOptIn::Register(WindowId window) {
  if (registration_ == 0) registration_ = Sys().suspendResume->Register(window);
}

void SuspendResumeOptIn::Cancel() {
  if (registration_ == 0) return;
  Sys().suspendResume->Unregister(registration_);
  registration_ = 0;
}
