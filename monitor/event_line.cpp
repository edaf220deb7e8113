#include "monitor/event_line.h"

#include "app/number_text.h"
#include "app/texts.h"
#include "platform/platform.h"

namespace {
std::string Two(int value) { return PaddedDecimalText(static_cast<std::uint32_t>(value), 2); }
}  // namespace

std::string FormatTimestamp(const LocalTime& t, const std::string& dateSeparator,
                            const std::string& timeSeparator) {
  return PaddedDecimalText(static_cast<std::uint32_t>(t.year), 4) + dateSeparator + Two(t.month) +
         dateSeparator + Two(t.day) + " " + Two(t.hour) + timeSeparator + Two(t.minute) +
         timeSeparator + Two(t.second);
}

std::string FormatEventLine(const LocalTime& time, const std::string& dateSeparator,
                            const std::string& timeSeparator, const std::string& text) {
  return FormatTimestamp(time, dateSeparator, timeSeparator) + texts::kEventSeparator + text;
}

std::string EventLine(const std::string& text) {
  Clock& clock = *Sys().clock;
  std::string dateSeparator = clock.DateSeparator();
  std::string timeSeparator = clock.TimeSeparator();
  if (dateSeparator.empty()) dateSeparator = texts::kDefaultDateSeparator;
  if (timeSeparator.empty()) timeSeparator = texts::kDefaultTimeSeparator;
  return FormatEventLine(clock.Now(), dateSeparator, timeSeparator, text);
}
