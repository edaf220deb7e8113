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

// A saved place opened again on a 1280 x 800 screen whose task bar takes
// the bottom 40 pixels comes back whole on the work area.
TEST(WindowBounds, ASavedPlaceIsRestoredWholeOnTheWorkArea) {
  const struct {
    std::int32_t left, top, width, height;
    Edges work;
    std::vector<int> placed;
  } cases[] = {
      {100, 50, 640, 480, {0, 0, 1280, 760}, {100, 50, 740, 530}},
      {3000, 500, 640, 480, {0, 0, 1280, 760}, {640, 280, 1280, 760}},
      {-900, -700, 50, 10, {0, 0, 1280, 760}, {0, 0, 200, 200}},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX, {0, 0, 1280, 760}, {0, 0, 1280, 760}},
      {INT_MIN, INT_MIN, INT_MIN, INT_MIN, {0, 0, 1280, 760}, {0, 0, 200, 200}},
      {50, 50, 350, 350, {0, 0, 150, 100}, {0, 0, 200, 200}},  // smaller than the least
      {-3000, 0, 640, 480, {-1024, 30, 0, 768}, {-1024, 30, -384, 510}},  // a second monitor
  };
  for (const auto& c : cases) {
    const Edges e = PlacedInWorkArea(c.left, c.top, c.width, c.height, c.work, 200);
    EXPECT_EQ((std::vector<int>{e.left, e.top, e.right, e.bottom}), c.placed) << c.left;
  }
}

// Saved as if they were the screen's, workspace coordinates would move the
// window by the task bar's size at every open.
TEST(WindowBounds, WorkspaceCoordinatesCountFromTheWorkAreasCorner) {
  const struct {
    Edges monitor, work;
    std::vector<int> screen;
  } cases[] = {
      {{0, 0, 1280, 800}, {0, 0, 1280, 760}, {100, 50, 740, 530}},
      {{0, 0, 1280, 800}, {60, 40, 1280, 800}, {160, 90, 800, 570}},
      {{-1024, 0, 0, 768}, {-1024, 30, 0, 768}, {100, 80, 740, 560}},
  };
  for (const auto& c : cases) {
    const Edges e = ScreenFromWorkspace({100, 50, 740, 530}, c.monitor, c.work);
    EXPECT_EQ((std::vector<int>{e.left, e.top, e.right, e.bottom}), c.screen);
  }
}
