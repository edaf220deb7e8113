#pragma once
#include <cstdint>
#include <vector>

#include "monitor/history.h"

// The value axis: 0 to `top` in steps of `step`, a 1, 2 or 5 times a power
// of ten.
struct ValueAxis {
  std::int64_t top = 1;
  std::int64_t step = 1;
};

// The smallest step whose labels, `labelHeight` pixels tall, keep a label's
// height free between them on a plot `plotHeight` pixels tall; `maxValue`
// fits below the top.
ValueAxis ChooseValueAxis(std::int64_t maxValue, int plotHeight, int labelHeight);

// Hours between time labels: the first of 1, 2, 3, 4, 6, 12 and 24 whose
// labels, `labelWidth` pixels wide, keep a gap of `gap` pixels between them
// on a day `plotWidth` pixels wide.
int ChooseTickHours(int plotWidth, int labelWidth, int gap);

// Multiples of `every` seconds within [start, end], oldest first.
std::vector<LocalSeconds> TickTimes(LocalSeconds start, LocalSeconds end, LocalSeconds every);

// Pixel of a time on [left, right] for the day [start, end], and of a value on
// [bottom, top] for 0 to `axisTop`; both clamped to their range.
int TimeToX(LocalSeconds time, LocalSeconds start, LocalSeconds end, int left, int right);
int ValueToY(std::int64_t value, std::int64_t axisTop, int top, int bottom);

struct PlotPoint {
  int x = 0;
  int y = 0;
};

// Where a sample's memory figure lies in a plot.
PlotPoint MemoryPoint(const HistorySample& sample, LocalSeconds start, LocalSeconds end,
                      std::int64_t axisTop, int left, int top, int right, int bottom);
