#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "shell/window_bounds.h"

// Bounds from a hand-edited settings file: a wrapped sum would put the
// window's far edge before its near one.
TEST(WindowBounds, SumsAtTheEndsOfTheRangeStopThereInsteadOfWrapping) {
  const Edges usual{100, 50, 584, 130}, wide{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  const struct {
    Edges result;
    std::int32_t left, top, right, bottom;
  } cases[] = {
      {WithLeft(usual, 10), 10, 50, 494, 130},  // moved with its size
      {WithHeight(usual, 80), 100, 50, 584, 130},
      {WithLeft(usual, INT_MAX), INT_MAX, 50, INT_MAX, 130},
      {WithTop(wide, INT_MIN), INT_MIN, INT_MIN, INT_MAX, -1},  // width INT_MAX at most
      {WithWidth({-100, 0, 0, 0}, INT_MIN), -100, 0, INT_MIN, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ((std::vector<int>{c.result.left, c.result.top, c.result.right, c.result.bottom}),
              (std::vector<int>{c.left, c.top, c.right, c.bottom}));
  EXPECT_EQ(Extent(INT_MIN, INT_MAX), INT_MAX);
  EXPECT_EQ(Extent(INT_MAX, INT_MIN), INT_MIN);
}
