#include "monitor/history.h"

#include "monitor/suspend_time.h"
#include "platform/platform.h"

std::uint32_t SampleMegabytes(std::uint64_t bytes) {
  const std::uint64_t megabytes = bytes >> 20;
  return megabytes > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(megabytes);
}

void History::Add(const HistorySample& sample) {
  const auto newest = [this] { return (next_ + kHistoryCapacity - 1) % kHistoryCapacity; };
  // Samples stamped after this one are of a clock since set back: they go,
  // or the line would run backwards across the plot.
  bool dropped = false;
  while (count_ > 0 && samples_[newest()].time > sample.time) {
    next_ = newest();
    --count_;
    dropped = true;
  }
  // Measured from the first sample of the place, not the last: a steady
  // stream of events must not keep one place for ever.
  if (count_ > 0 && !dropped && sample.time - placeStart_ < kMinSampleGap) {
    samples_[newest()] = sample;
    return;
  }
  placeStart_ = sample.time;
  samples_[next_] = sample;
  next_ = (next_ + 1) % kHistoryCapacity;
  if (count_ < kHistoryCapacity) ++count_;
}

void History::Suspended(UtcSeconds time) {
  if (sleepCount_ > 0 && sleeps_[(nextSleep_ + kSleepCapacity - 1) % kSleepCapacity].open) return;
  sleeps_[nextSleep_] = {time, time, true};
  nextSleep_ = (nextSleep_ + 1) % kSleepCapacity;
  if (sleepCount_ < kSleepCapacity) ++sleepCount_;
}

void History::Resumed(UtcSeconds time) {
  if (sleepCount_ == 0) return;
  SleepPeriod& last = sleeps_[(nextSleep_ + kSleepCapacity - 1) % kSleepCapacity];
  if (!last.open) return;
  last.end = time < last.start ? last.start : time;
  last.open = false;
}

std::vector<HistorySample> History::Samples(UtcSeconds now) const {
  std::vector<HistorySample> result;
  result.reserve(count_);
  const std::size_t first = (next_ + kHistoryCapacity - count_) % kHistoryCapacity;
  for (std::size_t i = 0; i < count_; ++i) {
    const HistorySample& s = samples_[(first + i) % kHistoryCapacity];
    if (s.time > now - kHistorySpan && s.time <= now) result.push_back(s);
  }
  return result;
}

std::vector<SleepPeriod> History::Sleeps(UtcSeconds now) const {
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
  sample.time = sys.clock->UtcNow();
  sample.availMB = SampleMegabytes(sys.memory->Physical().availBytes);
  sample.acLineStatus = power.ACLineStatus;
  sample.batteryPercent = power.BatteryLifePercent;
  history.Add(sample);
}

void RecordPowerEvent(History& history, std::uint32_t event) {
  const UtcSeconds now = Sys().clock->UtcNow();
  if (event == kSuspendEvent) history.Suspended(now);
  if (IsResumeEvent(event)) history.Resumed(now);
  RecordSample(history);
}
