#include "monitor/suspend_time.h"

#include "app/number_text.h"
#include "app/texts.h"
#include "platform/platform.h"
#include "settings/monitor_settings.h"

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kMinutesPerHour = 60;
constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

std::int64_t SecondsOf(const LocalTime& t) {
  return DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) *
             kSecondsPerDay +
         t.hour * 3600 + t.minute * 60 + t.second;
}

// Never negative here; hours of a sleep fit in 32 bits for any clock.
std::string Number(std::int64_t value) { return DecimalText(static_cast<std::uint32_t>(value)); }

}  // namespace

bool IsResumeEvent(std::uint32_t code) { return code == 0x0006 || code == 0x0007 || code == 0x0012; }

std::int64_t SecondsBetween(const LocalTime& from, const LocalTime& to) {
  return SecondsOf(to) - SecondsOf(from);
}

std::string SuspendTimeText(std::int64_t seconds, std::uint8_t percentBefore,
                            std::uint8_t percentAfter) {
  const std::int64_t minutes = seconds > 0 ? seconds / kSecondsPerMinute : 0;
  std::string text = texts::kSuspendTimeHead;
  if (minutes >= kMinutesPerHour) text += Number(minutes / kMinutesPerHour) + texts::kHours;
  text += Number(minutes % kMinutesPerHour) + texts::kMinutes;
  if (percentBefore != kUnknownBatteryPercent && percentAfter != kUnknownBatteryPercent)
    text += texts::kRemainingHead + DecimalText(percentBefore) + texts::kPercentArrow +
            DecimalText(percentAfter) + texts::kRemainingTail;
  return text;
}

void SuspendTime::Suspended(const LocalTime& now, std::uint8_t percent) {
  since_ = now;
  percent_ = percent;
}

std::string SuspendTime::Resumed(const LocalTime& now, std::uint8_t percent) {
  if (!since_) return std::string();
  const LocalTime since = *since_;
  since_.reset();
  return SuspendTimeText(SecondsBetween(since, now), percent_, percent);
}

std::string SuspendTimeNote(SuspendTime& state, std::uint32_t code) {
  if (code != kSuspendEvent && !IsResumeEvent(code)) return std::string();
  if (!MonitorSettings.Extra.SuspendLog) {
    state.Forget();
    return std::string();
  }
  if (code == kSuspendEvent) {
    state.Suspended(Sys().clock->Now(), Sys().power->Query().BatteryLifePercent);
    return std::string();
  }
  // The charge is asked for only when there is a suspend to report on.
  if (!state.Pending()) return std::string();
  return state.Resumed(Sys().clock->Now(), Sys().power->Query().BatteryLifePercent);
}
