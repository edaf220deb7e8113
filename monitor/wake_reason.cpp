#include "monitor/wake_reason.h"

#include "app/texts.h"
#include "monitor/event_line.h"
#include "monitor/log_file.h"
#include "monitor/suspend_time.h"
#include "platform/platform.h"
#include "settings/monitor_settings.h"

namespace {

constexpr char kKernelPower[] = "Microsoft-Windows-Kernel-Power";
constexpr char kPowerTroubleshooter[] = "Microsoft-Windows-Power-Troubleshooter";
constexpr std::uint32_t kModernStandbyExit = 507;
constexpr std::uint32_t kSleepResume = 1;
constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::uint64_t kWakeWindow = 120 * kTicksPerSecond;

// 0 for a 507, 1 for a Power-Troubleshooter 1, -1 for any other event.
int Rank(const SystemLogEvent& event) {
  if (event.provider == kKernelPower && event.id == kModernStandbyExit) return 0;
  if (event.provider == kPowerTroubleshooter && event.id == kSleepResume) return 1;
  return -1;
}

std::uint64_t Distance(std::uint64_t a, std::uint64_t b) { return a > b ? a - b : b - a; }

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::string WakeEventQuery() {
  return std::string("*[System[(Provider[@Name='") + kKernelPower + "'] and EventID=" +
         std::to_string(kModernStandbyExit) + ") or (Provider[@Name='" + kPowerTroubleshooter +
         "'] and EventID=" + std::to_string(kSleepResume) + ")]]";
}

const SystemLogEvent* WakeEventOf(const std::vector<SystemLogEvent>& events,
                                  const SleepSpan& sleep) {
  const SystemLogEvent* best = nullptr;
  for (const SystemLogEvent& event : events) {
    const int rank = Rank(event);
    if (rank < 0 || event.time < sleep.suspended ||
        Distance(event.time, sleep.resumed) > kWakeWindow ||
        WakeReasonText(event.message).empty())
      continue;
    if (best == nullptr || rank < Rank(*best) ||
        (rank == Rank(*best) &&
         Distance(event.time, sleep.resumed) < Distance(best->time, sleep.resumed)))
      best = &event;
  }
  return best;
}

std::string WakeReasonText(const std::string& message) {
  // Paragraphs end at blank lines. The bytes are code page 932, whose trail
  // bytes are never a space or a line break.
  std::string last, current;
  std::size_t start = 0;
  while (start <= message.size()) {
    std::size_t end = message.find('\n', start);
    if (end == std::string::npos) end = message.size();
    const std::string line = Trimmed(message.substr(start, end - start));
    if (!line.empty()) {
      current += (current.empty() ? "" : " ") + line;
    } else if (!current.empty()) {
      last = current;
      current.clear();
    }
    start = end + 1;
  }
  if (!current.empty()) last = current;
  return last.empty() ? std::string() : texts::kWakeReasonHead + last;
}

void WakeReasonLookup::PowerEvent(std::uint32_t code) {
  if (code != kSuspendEvent && !IsResumeEvent(code)) return;
  if (code == kSuspendEvent) Cancel();
  if (!MonitorSettings.Extra.SuspendLog) {
    asleepSince_.reset();
    return;
  }
  const std::uint64_t now = Sys().systemLog->Now();
  if (code == kSuspendEvent) {
    // A second suspend while asleep keeps the first: the sleep began there.
    if (!asleepSince_) asleepSince_ = now;
    return;
  }
  // Only the first resume after a suspend: one lookup per sleep.
  if (!asleepSince_) return;
  sleep_ = SleepSpan{*asleepSince_, now};
  asleepSince_.reset();
  tries_ = 0;
  timer_.SetEnabled(true);
}

void WakeReasonLookup::Retry() {
  if (!sleep_ || !MonitorSettings.Extra.SuspendLog) {
    Cancel();
    return;
  }
  std::vector<SystemLogEvent> events;
  const bool readable = Sys().systemLog->Query(WakeEventQuery(), kWakeEventsRead, events);
  const SystemLogEvent* event = readable ? WakeEventOf(events, *sleep_) : nullptr;
  if (event == nullptr && readable && ++tries_ < kWakeLookupTries) return;
  // Ended before the line is written, so a write that fails is reported
  // once and not at every tick.
  Cancel();
  if (event == nullptr) return;
  const std::string line = EventLine(WakeReasonText(event->message));
  WriteLog(line);
  memo_.AppendLine(line);
}

void WakeReasonLookup::Cancel() {
  sleep_.reset();
  timer_.SetEnabled(false);
}
