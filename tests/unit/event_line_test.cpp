#include <gtest/gtest.h>

#include "monitor/event_line.h"
#include "tests/fake/fake_platform.h"

TEST(EventLine, FormatsTimestampSeparatorAndText) {
  struct Case {
    LocalTime time;
    std::string dateSeparator, timeSeparator, text, line;
  };
  const Case cases[] = {
      {{2026, 12, 7, 5, 32, 29}, "/", ":", "サスペンド要求", "2026/12/07 05:32:29 >> サスペンド要求"},
      {{2024, 5, 1, 13, 45, 10}, "/", ":", "x", "2024/05/01 13:45:10 >> x"},
      {{999, 1, 2, 0, 0, 0}, "-", ".", "y", "0999-01-02 00.00.00 >> y"},
      {{2026, 1, 1, 23, 59, 59}, "年", "時", "z", "2026年01年01 23時59時59 >> z"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatEventLine(c.time, c.dateSeparator, c.timeSeparator, c.text), c.line);
}

TEST(EventLine, UsesRegionalSeparatorsOrDefaults) {
  FakePlatform fake;
  fake.clock.dateSeparator = "-";
  fake.clock.timeSeparator = ".";
  EXPECT_EQ(EventLine("a"), "2026-12-07 05.32.29 >> a");
  fake.clock.dateSeparator.clear();
  fake.clock.timeSeparator.clear();
  EXPECT_EQ(EventLine("a"), "2026/12/07 05:32:29 >> a");
}
