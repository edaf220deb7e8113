#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "monitor/ttimer.h"
#include "platform/controls.h"
#include "platform/standby.h"

// The XPath filter of the System log events that say what ended a sleep:
// Kernel-Power 507 (leaving Modern Standby) and Power-Troubleshooter 1 (back
// from S3 or S4).
std::string WakeEventQuery();

// The lookup reads this many of the newest such events, tries once per
// interval and gives up after a minute.
inline constexpr std::size_t kWakeEventsRead = 4;
inline constexpr std::uint32_t kWakeLookupIntervalMs = 5000;
inline constexpr int kWakeLookupTries = 60000 / kWakeLookupIntervalMs;

// One sleep in the System log's clock: the suspend and the first resume
// after it.
struct SleepSpan {
  std::uint64_t suspended = 0;
  std::uint64_t resumed = 0;
};

// The event of this sleep, null when none: written within two minutes of
// the resume and not before the suspend, which would make it an earlier
// sleep's; a 507 before a Power-Troubleshooter 1, then the one nearest the
// resume. An event whose message gives no text does not count.
const SystemLogEvent* WakeEventOf(const std::vector<SystemLogEvent>& events,
                                  const SleepSpan& sleep);

// "復帰要因: " and the message's last paragraph on one line, empty when the
// message has no text. Windows ends the messages of both events with the
// reason or the wake source ("理由: 入力キーボード。"); the 507's reason is a
// number in the event data, which only the formatted message turns into the
// user's words.
std::string WakeReasonText(const std::string& message);

// After the first resume that follows a suspend, with the sleep time
// recorded, looks for the event from a timer of its own, since Windows may
// write it seconds after the resume broadcast; the timer runs only while a
// lookup is pending. One event line at most per sleep, through the log and
// the list; nothing when no event comes within a minute or the log cannot be
// read.
class WakeReasonLookup {
 public:
  WakeReasonLookup(Memo& memo, TimerDevice& timer)
      : memo_(memo), timer_(timer, kWakeLookupIntervalMs) {}

  // Every power event: a suspend begins a sleep and ends a pending lookup.
  void PowerEvent(std::uint32_t code);
  // A tick of the timer: one look at the log.
  void Retry();
  void Cancel();
  bool Pending() const { return sleep_.has_value(); }

 private:
  Memo& memo_;
  TTimer timer_;
  std::optional<std::uint64_t> asleepSince_;
  std::optional<SleepSpan> sleep_;  // the sleep being looked up
  int tries_ = 0;
};
