#include "monitor/ttimer.h"

#include "app/error.h"
#include "app/texts.h"

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  if (enabled) {
    if (!device_.Start(interval_)) throw AppError(texts::kNoTimer);
  } else {
    device_.Stop();
  }
  enabled_ = enabled;
}
