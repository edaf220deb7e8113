#include "monitor/history.h"

#include <gtest/gtest.h>

namespace {

HistorySample At(LocalSeconds time, std::uint32_t mb = 100) {
  HistorySample s;
  s.time = time;
  s.availMB = mb;
  return s;
}

constexpr LocalSeconds kStart = 1'000'000;

}  // namespace

TEST(LocalSeconds, KnownDatesAndBack) {
  struct Row {
    LocalTime time;
    LocalSeconds seconds;
  };
  // Days counted by hand: 2000 is a leap year, 1900 and 2100 are not.
  const Row rows[] = {
      {{1970, 1, 1, 0, 0, 0}, 0},
      {{1970, 1, 2, 1, 2, 3}, 86400 + 3723},
      {{2000, 3, 1, 0, 0, 0}, (30 * 365 + 7 + 31 + 29) * 86400LL},
      {{2026, 12, 8, 23, 59, 59}, 1796774399},
      {{1969, 12, 31, 23, 0, 0}, -3600},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(SecondsOf(row.time), row.seconds) << row.time.year << "-" << row.time.month;
    const LocalTime back = LocalTimeOf(row.seconds);
    EXPECT_EQ(SecondsOf(back), row.seconds);
    EXPECT_EQ(back.day, row.time.day);
    EXPECT_EQ(back.hour, row.time.hour);
  }
}

TEST(History, RingKeepsADayAndNoMore) {
  struct Row {
    const char* name;
    LocalSeconds gap;
    int adds;
    std::size_t expectedCount;
    LocalSeconds firstKept;  // offset from kStart of the oldest sample returned
  };
  const LocalSeconds day = 24 * 3600;
  const Row rows[] = {
      // One a minute for two days: the last day only.
      {"minute samples", 60, 2 * 24 * 60, 24 * 60, (2 * 24 * 60 - 24 * 60) * 60},
      // Every ten seconds: one place per 30 s, holding the newest of its three.
      {"burst", 10, 12, 4, 20},
      // Every 30 s for a day and a half: the ring is full, the oldest went.
      {"full ring", 30, 3 * 24 * 60, day / 30, (3 * 24 * 60 - day / 30) * 30},
  };
  for (const Row& row : rows) {
    History h;
    for (int i = 0; i < row.adds; ++i) h.Add(At(kStart + i * row.gap, i));
    const LocalSeconds now = kStart + (row.adds - 1) * row.gap;
    const auto samples = h.Samples(now);
    EXPECT_LE(h.Count(), day / 30) << row.name;
    ASSERT_EQ(samples.size(), row.expectedCount) << row.name;
    EXPECT_EQ(samples.front().time, kStart + row.firstKept) << row.name;
    EXPECT_EQ(samples.back().time, now) << row.name;
    EXPECT_EQ(samples.back().availMB, static_cast<std::uint32_t>(row.adds - 1)) << row.name;
  }
}

// A clock set back: the ring keeps time order, the newest sample replacing
// those stamped after it.
TEST(History, ClockSetBackKeepsTheRingInTimeOrder) {
  const std::vector<LocalSeconds> rows[][2] = {
      {{0, 1800, 3600, 3660, 1860}, {0, 1800, 1860}},
      {{0, 60, 70, 65}, {0, 65}},  // within a place
      {{600, 660, 0}, {0}},
  };
  for (const auto& row : rows) {
    History h;
    for (LocalSeconds t : row[0]) h.Add(At(kStart + t));
    std::vector<LocalSeconds> kept;
    for (const HistorySample& s : h.Samples(kStart + 4000)) kept.push_back(s.time - kStart);
    EXPECT_EQ(kept, row[1]) << row[0].back();
  }
}

TEST(History, SleepPeriods) {
  struct Step {
    char kind;  // 's' suspend, 'r' resume
    LocalSeconds at;
  };
  struct Row {
    const char* name;
    std::vector<Step> steps;
    LocalSeconds now;
    std::vector<std::pair<LocalSeconds, LocalSeconds>> expected;
  };
  const Row rows[] = {
      {"one sleep", {{'s', 100}, {'r', 700}}, 1000, {{100, 700}}},
      {"still asleep ends now", {{'s', 100}}, 1000, {{100, 1000}}},
      {"resume alone", {{'r', 100}}, 1000, {}},
      {"second suspend keeps the first start", {{'s', 100}, {'s', 200}, {'r', 300}}, 1000,
       {{100, 300}}},
      {"second resume changes nothing", {{'s', 100}, {'r', 300}, {'r', 400}}, 1000, {{100, 300}}},
      {"older than a day goes", {{'s', 100}, {'r', 200}, {'s', 90000}, {'r', 90100}}, 90300,
       {{90000, 90100}}},
  };
  for (const Row& row : rows) {
    History h;
    for (const Step& step : row.steps)
      step.kind == 's' ? h.Suspended(step.at) : h.Resumed(step.at);
    const auto sleeps = h.Sleeps(row.now);
    ASSERT_EQ(sleeps.size(), row.expected.size()) << row.name;
    for (std::size_t i = 0; i < sleeps.size(); ++i) {
      EXPECT_EQ(sleeps[i].start, row.expected[i].first) << row.name;
      EXPECT_EQ(sleeps[i].end, row.expected[i].second) << row.name;
    }
  }
}

TEST(History, ManySleepsStayBounded) {
  History h;
  for (int i = 0; i < 1000; ++i) {
    h.Suspended(kStart + i * 10);
    h.Resumed(kStart + i * 10 + 5);
  }
  const auto sleeps = h.Sleeps(kStart + 10000);
  EXPECT_LE(sleeps.size(), 64u);
  ASSERT_FALSE(sleeps.empty());
  EXPECT_EQ(sleeps.back().start, kStart + 999 * 10) << "the newest is kept";
}
