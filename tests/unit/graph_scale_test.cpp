#include "shell/graph_scale.h"

#include <gtest/gtest.h>

TEST(GraphScale, ValueAxisNiceSteps) {
  struct Row {
    std::int64_t max;
    int plotHeight, labelHeight;
    std::int64_t top, step;
  };
  const Row rows[] = {
      // 200 px, labels 12 px: at most 8 steps of 24 px.
      {3500, 200, 12, 3500, 500},
      {4000, 200, 12, 4000, 500},
      {4001, 200, 12, 5000, 1000},
      {100, 200, 12, 100, 20},
      // 150% scaling: labels 18 px, 8 steps would be 288 px.
      {100, 200, 18, 100, 20},
      {100, 120, 18, 100, 50},
      {0, 200, 12, 1, 1},
      // A plot too low for two labels still gets one step.
      {700, 10, 12, 1000, 1000},
  };
  for (const Row& row : rows) {
    const ValueAxis axis = ChooseValueAxis(row.max, row.plotHeight, row.labelHeight);
    EXPECT_EQ(axis.top, row.top) << row.max << " in " << row.plotHeight;
    EXPECT_EQ(axis.step, row.step) << row.max << " in " << row.plotHeight;
    // The labels never overlap: a step is at least two labels tall.
    if (axis.top > axis.step) {
      EXPECT_GE(row.plotHeight * axis.step, 2 * row.labelHeight * axis.top);
    }
  }
}

TEST(GraphScale, TimeTicksNeverOverlap) {
  struct Row {
    int plotWidth, labelWidth, gap;
    int hours;
  };
  const Row rows[] = {
      // 24 labels of 30 + 6 px need 864 px.
      {864, 30, 6, 1},
      {863, 30, 6, 2},
      {600, 30, 6, 2},
      // At 150% the labels are 45 px: 12 of 51 px need 612.
      {600, 45, 6, 3},
      {306, 45, 6, 4},
      {305, 45, 6, 6},
      {200, 45, 6, 12},
      {110, 45, 6, 12},
      {50, 45, 6, 24},
  };
  for (const Row& row : rows) {
    const int hours = ChooseTickHours(row.plotWidth, row.labelWidth, row.gap);
    EXPECT_EQ(hours, row.hours) << row.plotWidth << "/" << row.labelWidth;
  }
}

TEST(GraphScale, TickTimesOnTheHourWithinTheDay) {
  const LocalSeconds h = 3600;
  const auto ticks = TickTimes(10 * h + 1, 20 * h, 3 * h);
  const std::vector<LocalSeconds> expected = {12 * h, 15 * h, 18 * h};
  EXPECT_EQ(ticks, expected);
  EXPECT_EQ(TickTimes(0, 2 * h, h), (std::vector<LocalSeconds>{0, h, 2 * h}));
}

TEST(GraphScale, SampleToPoint) {
  struct Row {
    LocalSeconds time;
    std::uint32_t mb;
    int x, y;
  };
  // A day over 100..964 px (100 s a pixel), 0..1000 MB over 300..100 px.
  const LocalSeconds start = 50000, end = start + 86400;
  const Row rows[] = {
      {start, 0, 100, 300},
      {end, 1000, 964, 100},
      {start + 43200, 500, 532, 200},
      {start + 150, 250, 101, 250},
      {start - 10, 2000, 100, 100},
      {end + 10, 250, 964, 250},
  };
  for (const Row& row : rows) {
    HistorySample s;
    s.time = row.time;
    s.availMB = row.mb;
    const PlotPoint p = MemoryPoint(s, start, end, 1000, 100, 100, 964, 300);
    EXPECT_EQ(p.x, row.x) << row.time;
    EXPECT_EQ(p.y, row.y) << row.time;
  }
}
