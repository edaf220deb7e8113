#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

// What sleeps on today's laptops need of the system: the opt-in to the
// suspend and resume broadcasts, and the System event log that tells what
// woke the machine.

// Windows 8 and later send the broadcasts of entering and leaving Modern
// Standby only to windows registered for them
// (RegisterSuspendResumeNotification).
class SuspendResumeNotice {
 public:
  virtual ~SuspendResumeNotice() = default;
  // The registration for the window; 0 when the system lacks the function
  // or refused.
  virtual std::uintptr_t Register(WindowId window) = 0;
  virtual void Unregister(std::uintptr_t registration) = 0;
};

// One event of the System log.
struct SystemLogEvent {
  std::string provider;  // "Microsoft-Windows-Kernel-Power"
  std::uint32_t id = 0;
  std::uint64_t time = 0;  // TimeCreated: 100 ns units since 1601, UTC
  // The event's message as the publisher words it in the user's language,
  // in code page 932, "?" for each character the code page lacks; empty when
  // it cannot be formatted.
  std::string message;
};

class SystemLog {
 public:
  virtual ~SystemLog() = default;
  // The system time in the unit of SystemLogEvent::time.
  virtual std::uint64_t Now() = 0;
  // The newest events that match the XPath filter, at most `count`, newest
  // first; each read waits a moment at most. False when the log cannot be
  // read: no Event Log API, no access.
  virtual bool Query(const std::string& xpath, std::size_t count,
                     std::vector<SystemLogEvent>& events) = 0;
};
