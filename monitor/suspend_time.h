#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"

inline constexpr std::uint32_t kSuspendEvent = 0x0004;

// True for the events that end a suspend: resume after a critical problem,
// resume from suspend, automatic resume.
bool IsResumeEvent(std::uint32_t code);

// "サスペンド時間 1時間5分", the hours left out when 0, the minutes rounded
// down, then " [残80%→74%]" when both percentages are known. A negative
// time counts as 0.
std::string SuspendTimeText(std::int64_t seconds, std::uint8_t percentBefore,
                            std::uint8_t percentAfter);

// The system's elapsed time and the charge at the last suspend, until the
// first resume after it. The elapsed time counts the sleep and no clock
// setting moves it: a change to or from daylight-saving time, or the clock
// set while asleep, leaves the real time asleep.
class SuspendTime {
 public:
  void Suspended(std::uint64_t elapsedMs, std::uint8_t percent);
  // The text for the first resume after a suspend; empty for any other.
  std::string Resumed(std::uint64_t elapsedMs, std::uint8_t percent);
  // Forgets the suspend, as when recording is off at the resume.
  void Forget() { since_.reset(); }
  bool Pending() const { return since_.has_value(); }

 private:
  std::optional<std::uint64_t> since_;
  std::uint8_t percent_ = kUnknownBatteryPercent;
};

// For a suspend or resume event with recording on: remembers the suspend,
// or gives the suspend-time text for the first resume after it. Empty when
// nothing is to be added.
std::string SuspendTimeNote(SuspendTime& state, std::uint32_t code);
