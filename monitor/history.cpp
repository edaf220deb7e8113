#include "monitor/history.h"

#include "platform/platform.h"

namespace {

constexpr std::uint32_t kBytesPerMB = 1024 * 1024;
constexpr std::uint8_t kOnMains = 1;

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

LocalSeconds SecondsOf(const LocalTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * kSecondsPerDay + t.hour * kSecondsPerHour +
         t.minute * 60 + t.second;
}

LocalTime LocalTimeOf(LocalSeconds seconds) {
  std::int64_t days = seconds / kSecondsPerDay;
  std::int64_t rest = seconds % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  LocalTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
  t.hour = static_cast<int>(rest / kSecondsPerHour);
  t.minute = static_cast<int>(rest % kSecondsPerHour / 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

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
  if (event == kEventSuspend) history.Suspended(now);
  if (event == kEventResumeSuspend || event == kEventResumeAutomatic ||
      event == kEventResumeCritical)
    history.Resumed(now);
  RecordSample(history);
}
