#include "monitor/history.h"

#include "monitor/suspend_time.h"
#include "platform/platform.h"

namespace {

constexpr std::uint32_t kBytesPerMB = 1024 * 1024;
constexpr std::uint8_t kOnMains = 1;

}  // namespace

void History::Add(const HistorySample& sample) {
  // Measured from the first sample of the place, not the last: a steady
  // stream of events must not keep one place for ever.
  if (count_ > 0 && sample.time >= placeStart_ && sample.time - placeStart_ < kMinSampleGap) {
    samples_[(next_ + kHistoryCapacity - 1) % kHistoryCapacity] = sample;
    return;
  }
  placeStart_ = sample.time;
  samples_[next_] = sample;
  next_ = (next_ + 1) % kHistoryCapacity;
  if (count_ < kHistoryCapacity) ++count_;
}

void History::Suspended(LocalSeconds time) {
  if (sleepCount_ > 0 && sleeps_[(nextSleep_ + kSleepCapacity - 1) % kSleepCapacity].open) return;
  sleeps_[nextSleep_] = {time, time, true};
  nextSleep_ = (nextSleep_ + 1) % kSleepCapacity;
  if (sleepCount_ < kSleepCapacity) ++sleepCount_;
}

void History::Resumed(LocalSeconds time) {
  if (sleepCount_ == 0) return;
  SleepPeriod& last = sleeps_[(nextSleep_ + kSleepCapacity - 1) % kSleepCapacity];
  if (!last.open) return;
  last.end = time < last.start ? last.start : time;
  last.open = false;
}

std::vector<HistorySample> History::Samples(LocalSeconds now) const {
  std::vector<HistorySample> result;
  result.reserve(count_);
  const std::size_t first = (next_ + kHistoryCapacity - count_) % kHistoryCapacity;
  for (std::size_t i = 0; i < count_; ++i) {
    const HistorySample& s = samples_[(first + i) % kHistoryCapacity];
    if (s.time > now - kHistorySpan && s.time <= now) result.push_back(s);
  }
  return result;
}

std::vector<SleepPeriod> History::Sleeps(LocalSeconds now) const {
  std::vector<SleepPeriod> result;
  const std::size_t first = (nextSleep_ + kSleepCapacity - sleepCount_) % kSleepCapacity;
  for (std::size_t i = 0; i < sleepCount_; ++i) {
    SleepPeriod p = sleeps_[(first + i) % kSleepCapacity];
    if (p.open) p.end = now;
    if (p.end > now - kHistorySpan && p.start <= now) result.push_back(p);
  }
  return result;
}

void RecordSample(History& history) {
  Platform& sys = Sys();
  const PowerStatus power = sys.power->Query();
  HistorySample sample;
  sample.time = SecondsOf(sys.clock->Now());
  sample.availMB = sys.memory->AvailPhysBytes() / kBytesPerMB;
  sample.onMains = power.ACLineStatus == kOnMains;
  sample.batteryPercent = power.BatteryLifePercent;
  history.Add(sample);
}

void RecordPowerEvent(History& history, std::uint32_t event) {
  const LocalSeconds now = SecondsOf(Sys().clock->Now());
  if (event == kSuspendEvent) history.Suspended(now);
  if (IsResumeEvent(event)) history.Resumed(now);
  RecordSample(history);
}
