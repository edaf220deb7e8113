#include <gtest/gtest.h>

#include <climits>

#include "shell/window_bounds.h"

namespace {
bool operator==(const Edges& a, const Edges& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}  // namespace

// Bounds straight from a hand-edited settings file; a wrapped sum would put
// the window's far edge before its near one.
TEST(WindowBounds, SumsAtTheEndsOfTheRangeStopThereInsteadOfWrapping) {
  const Edges usual{100, 50, 584, 130};
  const Edges wide{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  struct Case {
    const char* what;
    Edges result, expected;
  };
  const Case cases[] = {
      {"left moves, size kept", WithLeft(usual, 10), {10, 50, 494, 130}},
      {"top moves, size kept", WithTop(usual, -20), {100, -20, 584, 60}},
      {"width from the left edge", WithWidth(usual, 484), {100, 50, 584, 130}},
      {"height from the top edge", WithHeight(usual, 80), {100, 50, 584, 130}},
      {"left at the top of the range", WithLeft(usual, INT_MAX), {INT_MAX, 50, INT_MAX, 130}},
      {"top at the bottom of the range", WithTop(wide, INT_MIN), {INT_MIN, INT_MIN, INT_MAX, -1}},
      {"widest width kept from the left", WithLeft(wide, 0), {0, INT_MIN, INT_MAX, INT_MAX}},
      {"most negative width", WithWidth({-100, 0, 0, 0}, INT_MIN), {-100, 0, INT_MIN, 0}},
      {"largest height", WithHeight(usual, INT_MAX), {100, 50, 584, INT_MAX}},
  };
  for (const Case& c : cases) EXPECT_TRUE(c.result == c.expected) << c.what;
  EXPECT_EQ(Extent(INT_MIN, INT_MAX), INT_MAX);
  EXPECT_EQ(Extent(INT_MAX, INT_MIN), INT_MIN);
  EXPECT_EQ(Extent(-5, 7), 12);
}
