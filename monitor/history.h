#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "monitor/local_seconds.h"
#include "platform/types.h"

inline constexpr UtcSeconds kHistorySpan = kSecondsPerDay;
// A sample within this time of the first one in the newest place replaces
// it, so a burst of power events takes one place and the ring holds a day.
inline constexpr UtcSeconds kMinSampleGap = 30;
inline constexpr std::size_t kHistoryCapacity = kHistorySpan / kMinSampleGap;
inline constexpr std::size_t kSleepCapacity = 64;

// One look at the system, stamped in UTC: a change to or from
// daylight-saving time moves no sample.
struct HistorySample {
  UtcSeconds time = 0;
  // Whole MB of the 64-bit figure, not the memory watch's 32-bit one.
  std::uint32_t availMB = 0;
  // As the system reports them: 0 battery, 1 mains, 255 unknown.
  std::uint8_t acLineStatus = 0;
  std::uint8_t batteryPercent = kUnknownBatteryPercent;
};

// Whole megabytes of a 64-bit byte count, saturated at the field's top.
std::uint32_t SampleMegabytes(std::uint64_t bytes);

// From a suspend to the resume after it; an open period has no end yet.
struct SleepPeriod {
  UtcSeconds start = 0;
  UtcSeconds end = 0;
  bool open = false;
};

// The last day of samples and sleeps, in fixed rings: nothing grows, the
// oldest entry makes room for the newest.
class History {
 public:
  // A sample stamped before the newest ones (the clock was set back) takes
  // their place: the ring stays in time order.
  void Add(const HistorySample& sample);
  // A second suspend while asleep keeps the first start; a resume without
  // a suspend is no period.
  void Suspended(UtcSeconds time);
  void Resumed(UtcSeconds time);

  // Oldest first; only what lies within the day before `now`.
  std::vector<HistorySample> Samples(UtcSeconds now) const;
  // Periods reaching into the day before `now`; an open one ends at `now`.
  std::vector<SleepPeriod> Sleeps(UtcSeconds now) const;
  std::size_t Count() const { return count_; }

 private:
  std::array<HistorySample, kHistoryCapacity> samples_{};
  std::size_t next_ = 0;
  std::size_t count_ = 0;
  UtcSeconds placeStart_ = 0;
  std::array<SleepPeriod, kSleepCapacity> sleeps_{};
  std::size_t nextSleep_ = 0;
  std::size_t sleepCount_ = 0;
};

// One sample of the system as it is now; a power event also opens or
// closes a sleep.
void RecordSample(History& history);
void RecordPowerEvent(History& history, std::uint32_t event);
