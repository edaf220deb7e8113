#include "shell/graph_scale.h"

#include <gtest/gtest.h>

#include "monitor/power_event.h"

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
      // Labels 0 px tall count as 1 px: at most 100 steps, not 3000.
      {3000, 200, 0, 3000, 50},
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

// The axis is in UTC; the labels stand at local hours, by the zone's rule.
TEST(GraphScale, LabelsAtLocalHoursAcrossClockChanges) {
  const LocalSeconds h = 3600;
  const UtcSeconds spring = SecondsOf({2026, 3, 29, 1, 0, 0}), autumn = spring + 210 * 24 * h;
  struct Row {
    std::function<LocalSeconds(UtcSeconds)> offset;
    UtcSeconds start;
    LocalSeconds every;
    std::vector<int> hours;  // of the labels in the 6 hours from `start`
  };
  const Row rows[] = {
      {[&](UtcSeconds t) { return t < spring ? h : 2 * h; }, spring - 3 * h, h,
       {23, 0, 1, 3, 4, 5, 6}},  // 02:00 never comes
      {[&](UtcSeconds t) { return t < autumn ? 2 * h : h; }, autumn - 3 * h, h,
       {0, 1, 2, 2, 3, 4, 5}},  // 02:00 comes twice
      {[&](UtcSeconds) { return 5 * h + 1800; }, spring, 3 * h, {9, 12}},  // from 06:30
  };
  for (const Row& row : rows) {
    const auto localOf = [&](UtcSeconds t) { return t + row.offset(t); };
    std::vector<int> hours;
    for (UtcSeconds t : LocalTickTimes(row.start, row.start + 6 * h, row.every, localOf))
      hours.push_back(LocalTimeOf(localOf(t)).hour);
    EXPECT_EQ(hours, row.hours) << row.start;
  }
}

// The memory axis reaches the samples, above 4 GB too, and the limit, the
// limit no further than the machine's 16384 MB; a label keeps all digits.
TEST(GraphScale, MemoryAxisEnds) {
  HistorySample s;
  s.availMB = 9000;
  EXPECT_EQ(MemoryAxisMax({s}, 200, 16384), 9000);
  s.availMB = 3000;
  EXPECT_EQ(MemoryAxisMax({s}, 5000, 16384), 5000);
  EXPECT_EQ(MemoryAxisMax({s}, 4294967295u, 16384), 16384);  // a negative limit, unsigned
  EXPECT_EQ(AxisLabel(5000000000), "5000000000");
  EXPECT_EQ(AxisLabel(1000000007), "1000000007");
}

// Joined 0 to 3 minutes apart; filled as mains when the event line says so.
TEST(GraphScale, JoinsAndTheMainsRule) {
  const std::pair<int, bool> gaps[] = {{-60, false}, {0, true}, {180, true}, {181, false}};
  for (const auto& [gap, joined] : gaps) {
    HistorySample a, b;
    b.time = gap;
    EXPECT_EQ(Joined(a, b), joined) << gap;
  }
  for (std::uint8_t ac : {0, 1, 255}) {
    HistorySample s;
    s.acLineStatus = ac;
    EXPECT_EQ(DrawnOnMains(s), PowerStatusSuffix({ac, 50}).rfind("(ACアダプタ)", 0) == 0) << +ac;
  }
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
