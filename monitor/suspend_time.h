#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"

inline constexpr std::uint32_t kSuspendEvent = 0x0004;

// True for the events that end a suspend: resume after a critical problem,
// resume from suspend, automatic resume.
bool IsResumeEvent(std::uint32_t code);

// Whole seconds from one local time to a later one; negative when the clock
// went back.
std::int64_t SecondsBetween(const LocalTime& from, const LocalTime& to);

// "サスペンド時間 1時間5分", the hours left out when 0, the minutes rounded
// down, then " [残80%→74%]" when both percentages are known. A negative
// time (the clock set back meanwhile) counts as 0.
std::string SuspendTimeText(std::int64_t seconds, std::uint8_t percentBefore,
                            std::uint8_t percentAfter);

// The time and charge at the last suspend, until the first resume after it.
class SuspendTime {
 public:
  void Suspended(const LocalTime& now, std::uint8_t percent);
  // The text for the first resume after a suspend; empty for any other.
  std::string Resumed(const LocalTime& now, std::uint8_t percent);
  // Forgets the suspend, as when recording is off at the resume.
  void Forget() { since_.reset(); }
  bool Pending() const { return since_.has_value(); }

 private:
  std::optional<LocalTime> since_;
  std::uint8_t percent_ = kUnknownBatteryPercent;
};

// For a suspend or resume event with recording on: remembers the suspend,
// or gives the suspend-time text for the first resume after it. Empty when
// nothing is to be added.
std::string SuspendTimeNote(SuspendTime& state, std::uint32_t code);
