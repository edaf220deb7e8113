#pragma once
#include <cstdint>

#include "platform/controls.h"

// A periodic timer as the memory watch relies on it: switching it on while
// it runs changes nothing (the running interval is not restarted); switching
// it on from off starts a full new interval.
class TTimer {
 public:
  TTimer(TimerDevice& device, std::uint32_t intervalMs) : device_(device), interval_(intervalMs) {}

  bool Enabled() const { return enabled_; }
  // Throws AppError when the platform refuses a timer.
  void SetEnabled(bool enabled);
  std::uint32_t Interval() const { return interval_; }

 private:
  TimerDevice& device_;
  std::uint32_t interval_;
  bool enabled_ = false;
};
