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

// A saved place of a window opened again on a 1280 x 800 screen whose task
// bar takes the bottom 40 pixels: off screen, too small, too large or at
// the ends of the range, it comes back whole on the work area.
TEST(WindowBounds, ASavedPlaceIsRestoredWholeOnTheWorkArea) {
  const Edges work{0, 0, 1280, 760};
  const struct {
    const char* name;
    std::int32_t left, top, width, height;
    std::vector<int> placed;
  } cases[] = {
      {"on screen stays", 100, 50, 640, 480, {100, 50, 740, 530}},
      {"off to the right", 3000, 50, 640, 480, {640, 50, 1280, 530}},
      {"off to the top left", -900, -700, 640, 480, {0, 0, 640, 480}},
      {"half below the task bar", 100, 500, 640, 480, {100, 280, 740, 760}},
      {"too small", 10, 10, 50, 10, {10, 10, 210, 210}},
      {"larger than the screen", -5, -5, 2005, 1505, {0, 0, 1280, 760}},
      {"every value at the top of the range", INT_MAX, INT_MAX, INT_MAX, INT_MAX,
       {0, 0, 1280, 760}},
      {"at the bottom of the range", INT_MIN, INT_MIN, INT_MIN, INT_MIN, {0, 0, 200, 200}},
      {"negative size", 500, 300, -400, -200, {500, 300, 700, 500}},
  };
  for (const auto& c : cases) {
    const Edges e = PlacedInWorkArea(c.left, c.top, c.width, c.height, work, 200);
    EXPECT_EQ((std::vector<int>{e.left, e.top, e.right, e.bottom}), c.placed) << c.name;
  }
  // A work area smaller than the least size: the least size, at its corner.
  const Edges tiny = PlacedInWorkArea(50, 50, 350, 350, {0, 0, 150, 100}, 200);
  EXPECT_EQ((std::vector<int>{tiny.left, tiny.top, tiny.right, tiny.bottom}),
            (std::vector<int>{0, 0, 200, 200}));
  // A second monitor left of the first, its task bar at the top.
  const Edges second = PlacedInWorkArea(-3000, 0, 640, 480, {-1024, 30, 0, 768}, 200);
  EXPECT_EQ((std::vector<int>{second.left, second.top, second.right, second.bottom}),
            (std::vector<int>{-1024, 30, -384, 510}));
}

// Saved from workspace coordinates as if they were the screen's, the window
// would move by the task bar's size at every open.
TEST(WindowBounds, WorkspaceCoordinatesAreCountedFromTheWorkAreasCorner) {
  const Edges place{100, 50, 740, 530};
  const struct {
    const char* name;
    Edges monitor, work;
    std::vector<int> screen;
  } cases[] = {
      {"task bar at the bottom", {0, 0, 1280, 800}, {0, 0, 1280, 760}, {100, 50, 740, 530}},
      {"task bar at the top", {0, 0, 1280, 800}, {0, 40, 1280, 800}, {100, 90, 740, 570}},
      {"task bar at the left", {0, 0, 1280, 800}, {60, 0, 1280, 800}, {160, 50, 800, 530}},
      {"a monitor left of the primary", {-1024, 0, 0, 768}, {-1024, 30, 0, 768},
       {100, 80, 740, 560}},
  };
  for (const auto& c : cases) {
    const Edges e = ScreenFromWorkspace(place, c.monitor, c.work);
    EXPECT_EQ((std::vector<int>{e.left, e.top, e.right, e.bottom}), c.screen) << c.name;
  }
}
