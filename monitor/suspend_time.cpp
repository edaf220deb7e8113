#include "monitor/suspend_time.h"

#include "app/number_text.h"
#include "app/texts.h"
#include "platform/platform.h"
#include "settings/monitor_settings.h"

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kMsPerSecond = 1000;
constexpr std::int64_t kMinutesPerHour = 60;

std::string Number(std::int64_t value) { return DecimalText(static_cast<std::uint32_t>(value)); }

}  // namespace

bool IsResumeEvent(std::uint32_t code) { return code == 0x0006 || code == 0x0007 || code == 0x0012; }

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

void SuspendTime::Suspended(std::uint64_t elapsedMs, std::uint8_t percent) {
  since_ = elapsedMs;
  percent_ = percent;
}

std::string SuspendTime::Resumed(std::uint64_t elapsedMs, std::uint8_t percent) {
  if (!since_) return std::string();
  const std::uint64_t since = *since_;
  since_.reset();
  const std::int64_t seconds =
      elapsedMs < since ? 0 : static_cast<std::int64_t>((elapsedMs - since) / kMsPerSecond);
  return SuspendTimeText(seconds, percent_, percent);
}

std::string SuspendTimeNote(SuspendTime& state, std::uint32_t code) {
  if (code != kSuspendEvent && !IsResumeEvent(code)) return std::string();
  if (!MonitorSettings.Extra.SuspendLog) {
    state.Forget();
    return std::string();
  }
  if (code == kSuspendEvent) {
    state.Suspended(Sys().clock->ElapsedMs(), Sys().power->Query().BatteryLifePercent);
    return std::string();
  }
  // The charge is asked for only when there is a suspend to report on.
  if (!state.Pending()) return std::string();
  return state.Resumed(Sys().clock->ElapsedMs(), Sys().power->Query().BatteryLifePercent);
}
