#include "shell/graph_scale.h"

namespace {
constexpr int kTickHourChoices[] = {1, 2, 3, 4, 6, 12, 24};
constexpr int kNiceMantissas[] = {1, 2, 5};
}  // namespace

ValueAxis ChooseValueAxis(std::int64_t maxValue, int plotHeight, int labelHeight) {
  if (maxValue < 1) maxValue = 1;
  for (std::int64_t power = 1;; power *= 10) {
    for (int mantissa : kNiceMantissas) {
      const std::int64_t step = mantissa * power;
      const std::int64_t steps = (maxValue + step - 1) / step;
      // One step of pixels must hold a label and the gap of one more.
      if (steps * 2 * labelHeight <= plotHeight || steps == 1) return {steps * step, step};
    }
  }
}

int ChooseTickHours(int plotWidth, int labelWidth, int gap) {
  for (int hours : kTickHourChoices) {
    if (static_cast<std::int64_t>(plotWidth) * hours >=
        static_cast<std::int64_t>(labelWidth + gap) * 24)
      return hours;
  }
  return kTickHourChoices[sizeof kTickHourChoices / sizeof kTickHourChoices[0] - 1];
}

std::vector<LocalSeconds> TickTimes(LocalSeconds start, LocalSeconds end, LocalSeconds every) {
  std::vector<LocalSeconds> ticks;
  LocalSeconds t = start / every * every;
  if (t < start) t += every;
  for (; t <= end; t += every) ticks.push_back(t);
  return ticks;
}

int TimeToX(LocalSeconds time, LocalSeconds start, LocalSeconds end, int left, int right) {
  if (end <= start || time <= start) return left;
  if (time >= end) return right;
  return left + static_cast<int>((time - start) * (right - left) / (end - start));
}

int ValueToY(std::int64_t value, std::int64_t axisTop, int top, int bottom) {
  if (axisTop <= 0 || value <= 0) return bottom;
  if (value >= axisTop) return top;
  return bottom - static_cast<int>(value * (bottom - top) / axisTop);
}

PlotPoint MemoryPoint(const HistorySample& sample, LocalSeconds start, LocalSeconds end,
                      std::int64_t axisTop, int left, int top, int right, int bottom) {
  return {TimeToX(sample.time, start, end, left, right),
          ValueToY(sample.availMB, axisTop, top, bottom)};
}
