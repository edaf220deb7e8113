#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "monitor/local_seconds.h"
#include "platform/types.h"

inline constexpr LocalSeconds kHistorySpan = kSecondsPerDay;
// A sample within this time of the first one in the newest place replaces
// it, so a burst of power events takes one place and the ring holds a day.
inline constexpr LocalSeconds kMinSampleGap = 30;
inline constexpr std::size_t kHistoryCapacity = kHistorySpan / kMinSampleGap;
inline constexpr std::size_t kSleepCapacity = 64;

struct HistorySample {
  LocalSeconds time = 0;
  std::uint32_t availMB = 0;
  bool onMains = false;
  std::uint8_t batteryPercent = kUnknownBatteryPercent;
};

// From a suspend to the resume after it; an open period has no end yet.
struct SleepPeriod {
  LocalSeconds start = 0;
  LocalSeconds end = 0;
  bool open = false;
};

// The last day of samples and sleeps, in fixed rings: nothing grows, the
// oldest entry makes room for the newest.
class History {
 public:
  void Add(const HistorySample& sample);
  // A second suspend while asleep keeps the first start; a resume without
  // a suspend is no period.
  void Suspended(LocalSeconds time);
  void Resumed(LocalSeconds time);

  // Oldest first; only what lies within the day before `now`.
  std::vector<HistorySample> Samples(LocalSeconds now) const;
  // Periods reaching into the day before `now`; an open one ends at `now`.
  std::vector<SleepPeriod> Sleeps(LocalSeconds now) const;
  std::size_t Count() const { return count_; }

 private:
  std::array<HistorySample, kHistoryCapacity> samples_{};
  std::size_t next_ = 0;
  std::size_t count_ = 0;
  LocalSeconds placeStart_ = 0;
  std::array<SleepPeriod, kSleepCapacity> sleeps_{};
  std::size_t nextSleep_ = 0;
  std::size_t sleepCount_ = 0;
};

// One sample of the system as it is now; a power event also opens or
// closes a sleep.
void RecordSample(History& history);
void RecordPowerEvent(History& history, std::uint32_t event);
