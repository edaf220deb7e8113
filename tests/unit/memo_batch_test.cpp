#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/memo_batch.h"

namespace {

using Due = MemoBatch::Due;

// One step of a run: a line added (or, with an empty line, the batch taken)
// at a time, in a window state, and what must follow.
struct Step {
  std::uint32_t nowMs;
  bool shown;
  const char* line;  // nullptr: take the batch
  Due due;           // for an added line
  const char* taken;  // for a take: the text expected
};

void RunSteps(const std::vector<Step>& steps) {
  MemoBatch batch;
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step& s = steps[i];
    SCOPED_TRACE("step " + std::to_string(i));
    if (s.line == nullptr) {
      EXPECT_EQ(batch.Take(s.nowMs), s.taken);
      EXPECT_TRUE(batch.Empty());
    } else {
      EXPECT_EQ(batch.Add(s.line, s.nowMs, s.shown), s.due);
      EXPECT_FALSE(batch.Empty());
    }
  }
}

}  // namespace

TEST(MemoBatch, FirstLineAfterAQuietSpellGoesAtOnce) {
  RunSteps({
      {1000, true, "a", Due::kNow, nullptr},
      {1000, true, nullptr, Due::kNow, "a\r\n"},
      // Long after the last batch: at once again.
      {1000 + kMemoHoldMs, true, "b", Due::kNow, nullptr},
  });
}

TEST(MemoBatch, LinesCloseBehindABatchGatherUntilTheOldestHasWaitedTheHold) {
  const std::uint32_t t = 5000;
  RunSteps({
      {t, true, "a", Due::kNow, nullptr},
      {t, true, nullptr, Due::kNow, "a\r\n"},
      {t + 1, true, "b", Due::kStartTimer, nullptr},
      {t + 2, true, "c", Due::kLater, nullptr},
      {t + kMemoHoldMs, true, "d", Due::kLater, nullptr},
      // The oldest gathered line came at t + 1: its hold is over.
      {t + 1 + kMemoHoldMs, true, "e", Due::kNow, nullptr},
      {t + 1 + kMemoHoldMs, true, nullptr, Due::kNow, "b\r\nc\r\nd\r\ne\r\n"},
  });
}

TEST(MemoBatch, ParkedListHoldsEveryLineWhateverTheirAge) {
  RunSteps({
      {0, false, "a", Due::kLater, nullptr},
      {10 * kMemoHoldMs, false, "b", Due::kLater, nullptr},
      {100 * kMemoHoldMs, false, "c", Due::kLater, nullptr},
      // Shown again before its own flush: the held lines are overdue.
      {100 * kMemoHoldMs, true, "d", Due::kNow, nullptr},
      {100 * kMemoHoldMs, true, nullptr, Due::kNow, "a\r\nb\r\nc\r\nd\r\n"},
  });
}

TEST(MemoBatch, MillisecondClockWrapsAround) {
  const std::uint32_t t = 0xFFFFFFF0u;  // 16 ms before the clock wraps
  RunSteps({
      {t - 10, true, "a", Due::kNow, nullptr},
      {t - 10, true, nullptr, Due::kNow, "a\r\n"},
      {t, true, "b", Due::kStartTimer, nullptr},
      // 60 ms after b, past the wrap: its hold is over.
      {t + 60, true, "c", Due::kNow, nullptr},
      {t + 60, true, nullptr, Due::kNow, "b\r\nc\r\n"},
      // A quiet spell after the wrap.
      {t + 60 + kMemoHoldMs, true, "d", Due::kNow, nullptr},
  });
}

// An append the edit control refused (out of memory) keeps its lines, and
// is reported once, not at every read of the list, until one goes through.
TEST(MemoBatch, RefusedLinesGoBackFirstAndTheFailureIsToldOnce) {
  MemoBatch batch;
  batch.Add("a", 0, true);
  const std::string taken = batch.Take(0);
  batch.Add("b", 5, true);
  batch.PutBack(taken);
  EXPECT_EQ(batch.Text(), "a\r\nb\r\n");
  EXPECT_TRUE(batch.FirstFailure());
  EXPECT_FALSE(batch.FirstFailure());
  batch.Appended();
  EXPECT_TRUE(batch.FirstFailure());
}
