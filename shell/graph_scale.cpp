#include "shell/graph_scale.h"

#include <algorithm>

#include "app/number_text.h"
#include "monitor/power_event.h"
#include "platform/dpi_scale.h"

namespace {
constexpr int kTickHourChoices[] = {1, 2, 3, 4, 6, 12, 24};
constexpr int kNiceMantissas[] = {1, 2, 5};
constexpr UtcSeconds kMaxJoinGap = 3 * 60;
// Every time zone is a whole number of quarter hours from UTC, so every
// local quarter hour falls on a UTC one.
constexpr UtcSeconds kQuarterHour = 15 * 60;
constexpr std::int64_t kBillion = 1000000000;
}  // namespace

ValueAxis ChooseValueAxis(std::int64_t maxValue, int plotHeight, int labelHeight) {
  if (maxValue < 1) maxValue = 1;
  // A height of 0 would let every unit have its own grid line.
  if (labelHeight < 1) labelHeight = 1;
  for (std::int64_t power = 1;; power *= 10) {
    for (int mantissa : kNiceMantissas) {
      const std::int64_t step = mantissa * power;
      const std::int64_t steps = (maxValue + step - 1) / step;
      // One step of pixels must hold a label and the gap of one more.
      if (steps * 2 * labelHeight <= plotHeight || steps == 1) return {steps * step, step};
    }
  }
}

std::int64_t MemoryAxisMax(const std::vector<HistorySample>& samples, std::uint32_t limitMb,
                           std::uint64_t totalMb) {
  std::int64_t top = static_cast<std::int64_t>(std::min<std::uint64_t>(limitMb, totalMb));
  for (const HistorySample& s : samples) top = std::max<std::int64_t>(top, s.availMB);
  return top;
}

std::string AxisLabel(std::int64_t value) {
  if (value < kBillion) return DecimalText(static_cast<std::uint32_t>(std::max<std::int64_t>(value, 0)));
  return AxisLabel(value / kBillion) +
         PaddedDecimalText(static_cast<std::uint32_t>(value % kBillion), 9);
}

int ChooseTickHours(int plotWidth, int labelWidth, int gap) {
  for (int hours : kTickHourChoices) {
    if (static_cast<std::int64_t>(plotWidth) * hours >=
        static_cast<std::int64_t>(labelWidth + gap) * 24)
      return hours;
  }
  return kTickHourChoices[sizeof kTickHourChoices / sizeof kTickHourChoices[0] - 1];
}

std::vector<UtcSeconds> LocalTickTimes(UtcSeconds start, UtcSeconds end, LocalSeconds every,
                                       const std::function<LocalSeconds(UtcSeconds)>& localOf) {
  std::vector<UtcSeconds> ticks;
  UtcSeconds t = start / kQuarterHour * kQuarterHour;
  if (t < start) t += kQuarterHour;
  for (; t <= end; t += kQuarterHour)
    if (localOf(t) % every == 0) ticks.push_back(t);
  return ticks;
}

GraphSizes GraphSizesAt(int dpi) {
  const GraphSizes design;
  return {Scale(design.line, dpi),    Scale(design.memoryLine, dpi), Scale(design.mark, dpi),
          Scale(design.minBand, dpi), Scale(design.labelGap, dpi),   Scale(design.textGap, dpi),
          Scale(design.margin, dpi),  Scale(design.dash, dpi),       Scale(design.dashGap, dpi)};
}

GraphLayout LayOutGraph(int width, int height, int lineHeight, int valueLabelWidth,
                        int timeLabelWidth, const GraphSizes& sizes) {
  const int row = lineHeight + lineHeight / 2;
  const int left = valueLabelWidth + sizes.margin;
  const int right = width - std::max(timeLabelWidth / 2, sizes.margin) - sizes.labelGap;
  const int plotHeight = std::max(2, (height - 3 * row) / 2);
  const PlotBox memory = {left, row, right, row + plotHeight};
  return {memory, {left, memory.bottom + row, right, memory.bottom + row + plotHeight}};
}

int TimeToX(UtcSeconds time, UtcSeconds start, UtcSeconds end, int left, int right) {
  if (end <= start || time <= start) return left;
  if (time >= end) return right;
  return left + static_cast<int>((time - start) * (right - left) / (end - start));
}

int ValueToY(std::int64_t value, std::int64_t axisTop, int top, int bottom) {
  if (axisTop <= 0 || value <= 0) return bottom;
  if (value >= axisTop) return top;
  return bottom - static_cast<int>(value * (bottom - top) / axisTop);
}

bool Joined(const HistorySample& earlier, const HistorySample& later) {
  const UtcSeconds gap = later.time - earlier.time;
  return gap >= 0 && gap <= kMaxJoinGap;
}

bool DrawnOnMains(const HistorySample& sample) { return OnMains(sample.acLineStatus); }

PlotPoint MemoryPoint(const HistorySample& sample, UtcSeconds start, UtcSeconds end,
                      std::int64_t axisTop, int left, int top, int right, int bottom) {
  return {TimeToX(sample.time, start, end, left, right),
          ValueToY(sample.availMB, axisTop, top, bottom)};
}
