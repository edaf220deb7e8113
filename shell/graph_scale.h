#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "monitor/history.h"

// The value axis: 0 to `top` in steps of `step`, a 1, 2 or 5 times a power
// of ten.
struct ValueAxis {
  std::int64_t top = 1;
  std::int64_t step = 1;
};

// The smallest step whose labels, `labelHeight` pixels tall (at least 1),
// keep a label's height free between them on a plot `plotHeight` pixels
// tall; `maxValue` fits below the top.
ValueAxis ChooseValueAxis(std::int64_t maxValue, int plotHeight, int labelHeight);

// What the memory axis must reach: the highest sample and the limit line,
// the limit counted up to the total physical memory at most (no more can
// be available), so a huge or negative limit does not flatten the line.
std::int64_t MemoryAxisMax(const std::vector<HistorySample>& samples, std::uint32_t limitMb,
                           std::uint64_t totalMb);

// A value label in plain decimal, all 64 bits of it.
std::string AxisLabel(std::int64_t value);

// Hours between time labels: the first of 1, 2, 3, 4, 6, 12 and 24 whose
// labels, `labelWidth` pixels wide, keep a gap of `gap` pixels between them
// on a day `plotWidth` pixels wide.
int ChooseTickHours(int plotWidth, int labelWidth, int gap);

// The instants within [start, end], oldest first, whose local time
// (`localOf`) is a multiple of `every`: an hour the clock repeats is
// labelled twice, one it skips not at all.
std::vector<UtcSeconds> LocalTickTimes(UtcSeconds start, UtcSeconds end, LocalSeconds every,
                                       const std::function<LocalSeconds(UtcSeconds)>& localOf);

// The lengths the graph draws with, designed at 96 DPI (the values here)
// and scaled to the window's DPI once a paint.
struct GraphSizes {
  int line = 1;        // frames, grid, day and limit lines
  int memoryLine = 2;  // the memory line
  int mark = 2;        // a marked sample reaches this far each side of its point
  int minBand = 3;     // the narrowest sleep band
  int labelGap = 4;    // a label to the plot or the window edge beside it
  int textGap = 2;     // a title or time label to its plot, a legend's swatch to its text
  int margin = 8;      // the least room beside the plots
  // The limit line's dashes and gaps once it is wider than a pixel; one
  // pixel wide it has the system's own (18 and 6 under Wine).
  int dash = 18;
  int dashGap = 6;
};
GraphSizes GraphSizesAt(int dpi);

struct PlotBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The memory plot above the battery plot in a client area `width` by
// `height`: a row of text and half for each plot's title and one for the
// time labels below both, value labels `valueLabelWidth` wide at the left,
// half a time label `timeLabelWidth` wide hanging past the right end.
struct GraphLayout {
  PlotBox memory;
  PlotBox battery;
};
GraphLayout LayOutGraph(int width, int height, int lineHeight, int valueLabelWidth,
                        int timeLabelWidth, const GraphSizes& sizes);

// Pixel of an instant on [left, right] for the day [start, end], and of a
// value on [bottom, top] for 0 to `axisTop`; both clamped to their range.
int TimeToX(UtcSeconds time, UtcSeconds start, UtcSeconds end, int left, int right);
int ValueToY(std::int64_t value, std::int64_t axisTop, int top, int bottom);

// Whether a line joins two neighbouring samples: only when the second came
// 0 to 3 minutes after the first. Across a longer gap the program was not
// watching.
bool Joined(const HistorySample& earlier, const HistorySample& later);

// Whether the charge is filled as on mains: the event line's reading.
bool DrawnOnMains(const HistorySample& sample);

struct PlotPoint {
  int x = 0;
  int y = 0;
};

// Where a sample's memory figure lies in a plot.
PlotPoint MemoryPoint(const HistorySample& sample, UtcSeconds start, UtcSeconds end,
                      std::int64_t axisTop, int left, int top, int right, int bottom);
