#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/laptop.h"

// The graph window against the real program: it draws what happened, and it
// keeps its place only once it has been open.

namespace {

constexpr WPARAM kSuspend = 4;        // PBT_APMSUSPEND
constexpr WPARAM kResumeSuspend = 7;  // PBT_APMRESUMESUSPEND

std::vector<HWND> GraphWindows(const TessarilProcess& app) {
  std::vector<HWND> found;
  char caption[64];
  for (HWND window : app.WindowsOfProcess())
    if (IsWindowVisible(window) && GetWindowTextA(window, caption, sizeof caption) > 0 &&
        std::string(caption) == "推移グラフ")
      found.push_back(window);
  return found;
}

// The client area's pixels as the screen shows them, row by row.
struct Pixels {
  int width = 0, height = 0;
  std::vector<COLORREF> at;
  COLORREF operator()(int x, int y) const { return at[static_cast<size_t>(y) * width + x]; }
};

Pixels Capture(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  Pixels p;
  p.width = client.right;
  p.height = client.bottom;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, p.width, p.height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, p.width, p.height, screen, origin.x, origin.y, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = p.width;
  header.biHeight = -p.height;  // top-down
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  p.at.resize(static_cast<size_t>(p.width) * p.height);
  GetDIBits(memory, bitmap, 0, p.height, p.at.data(), reinterpret_cast<BITMAPINFO*>(&header),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return p;
}

// Rows of a column that differ between two pictures of the window.
int ChangedRows(const Pixels& before, const Pixels& after, int x) {
  int rows = 0;
  for (int y = 0; y < after.height; ++y) rows += before(x, y) != after(x, y);
  return rows;
}

// Available physical memory in MB as the graph reads it: all 64 bits, in
// either build.
double AvailableMB() {
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof status;
  GlobalMemoryStatusEx(&status);
  return static_cast<double>(status.ullAvailPhys >> 20);
}

// The rows of a column, from `top` to `bottom`, whose colour is not `shade`.
std::vector<int> RowsNotOf(const Pixels& p, int x, int top, int bottom, COLORREF shade) {
  std::vector<int> rows;
  for (int y = top; y <= bottom; ++y)
    if (p(x, y) != shade) rows.push_back(y);
  return rows;
}

// A dashed line between `top` and `bottom`: the row in which one colour
// (not the background) covers much of the middle of the width in many
// pieces; -1 if there is none.
int DashedRow(const Pixels& p, int top, int bottom, COLORREF background) {
  const int from = p.width / 10, to = p.width * 85 / 100;
  for (int y = top; y <= bottom; ++y) {
    std::map<COLORREF, std::pair<int, int>> seen;  // pixels, pieces
    for (int x = from; x < to; ++x) {
      const COLORREF c = p(x, y);
      if (c == background) continue;
      ++seen[c].first;
      if (p(x - 1, y) != c) ++seen[c].second;
    }
    for (const auto& [colour, count] : seen)
      if (count.first * 2 > to - from && count.first * 10 < (to - from) * 9 && count.second >= 8)
        return y;
  }
  return -1;
}

}  // namespace

// On a machine with more memory available than 32 bits can tell.
class GraphPlot : public LaptopTest {};

TEST_F(GraphPlot, ShadesTheSleepAtTheEndOfTheDayAndKeepsItsPlaceOnceOpened) {
  laptop.FreeMemory(9000);
  // A memory limit below the available memory: the limit line and the
  // newest point then stand in a known ratio whatever the scale, above 4 GB
  // too. The memory watch's 32-bit figure stops at 4095 MB: a limit under
  // that raises no alert box over the window.
  const int limit = static_cast<int>(std::min(AvailableMB() / 2, 4000.0));
  ASSERT_GT(limit, 0);
  LaunchOptions options;
  options.ini = "[main]\r\nMemoryLimit=" + std::to_string(limit) + "\r\n";
  TessarilProcess app;
  app.Start(options);
  OpenGraph(app);
  std::vector<HWND> graphs;
  ASSERT_TRUE(WaitFor([&] { return !(graphs = GraphWindows(app)).empty(); }));
  HWND graph = graphs[0];
  OpenGraph(app);
  EXPECT_FALSE(WaitFor([&] { return GraphWindows(app).size() > 1; }, Timeout{1000}))
      << "a second open makes no second window";

  const std::string ini = app.ReadFile("Tessaril.ini").value_or("");
  EXPECT_EQ(ini.find("Graph"), std::string::npos) << "nothing is written while it is open";

  RedrawWindow(graph, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const Pixels before = Capture(graph);
  ASSERT_GT(before.width, 100);
  app.SendPowerBroadcast(kSuspend, 0);
  app.SendPowerBroadcast(kResumeSuspend, 0);

  // The sleep lasted seconds of a day-long axis that ends now: a narrow band
  // in the last tenth, over most of the height (both plots). A grid line
  // moved by the passing minutes may change other columns, in its own colour.
  Pixels after;
  std::vector<int> band;
  WaitFor([&] {
    RedrawWindow(graph, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    after = Capture(graph);
    band.clear();
    for (int x = after.width * 9 / 10; x < after.width; ++x)
      if (ChangedRows(before, after, x) >= after.height * 6 / 10) band.push_back(x);
    return !band.empty();
  });
  ASSERT_FALSE(band.empty()) << "no sleep at the end of the day";
  EXPECT_LT(band.back() - band.front(), after.width / 20) << "a band of seconds is narrow";
  std::map<COLORREF, int> changed;
  for (int y = 0; y < after.height; ++y)
    if (before(band.front(), y) != after(band.front(), y)) ++changed[after(band.front(), y)];
  const COLORREF shade =
      std::max_element(changed.begin(), changed.end(),
                       [](const auto& a, const auto& b) { return a.second < b.second; })
          ->first;
  int first = after.height, last = -1;
  for (int y = 0; y < after.height; ++y)
    if (after(band.front(), y) == shade) first = std::min(first, y), last = y;
  EXPECT_LT(first, after.height * 3 / 10) << "the band does not reach into the upper plot";
  EXPECT_GT(last, after.height * 7 / 10) << "the band does not reach into the lower plot";
  int elsewhere = 0;
  for (int y = after.height * 15 / 100; y < after.height * 85 / 100; ++y)
    for (int x = 0; x < after.width * 9 / 10; ++x) elsewhere += after(x, y) == shade;
  EXPECT_EQ(elsewhere, 0) << "shading where no sleep was";

  // The band lies under the frames: of the rows it leaves uncovered in its
  // first column the last two are the memory plot's bottom and the battery
  // plot's top. Its last column also holds the newest sample's mark.
  const double available = AvailableMB();
  const std::vector<int> open = RowsNotOf(after, band.front(), first, last, shade);
  ASSERT_GE(open.size(), 2u);
  const int memoryBottom = open[open.size() - 2];
  const int limitRow = DashedRow(after, first, memoryBottom - 1, before(0, 0));
  ASSERT_GT(limitRow, first) << "no limit line in the memory plot";
  std::vector<int> mark;
  for (int y : RowsNotOf(after, band.back(), first, memoryBottom - 1, shade))
    if (y != limitRow && after(band.front(), y) == shade) mark.push_back(y);
  ASSERT_FALSE(mark.empty()) << "no mark of the newest sample";
  const double markRow = (mark.front() + mark.back()) / 2.0;
  const double ratio = (memoryBottom - markRow) / (memoryBottom - limitRow);
  EXPECT_NEAR(ratio, available / limit, 0.15 * available / limit)
      << "mark " << markRow << ", limit " << limitRow << ", bottom " << memoryBottom;
  SaveScreenshot(graph, app.ScreenshotPath("GraphWindow"));

  RECT placed;
  GetWindowRect(graph, &placed);
  PostMessageA(graph, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(graph); }));
  const std::string saved = app.ReadFile("Tessaril.ini").value_or("");
  EXPECT_NE(saved.find("[extra]"), std::string::npos) << saved;
  EXPECT_NE(saved.find("GraphWidth=" + std::to_string(placed.right - placed.left)),
            std::string::npos)
      << saved;

  OpenGraph(app);
  ASSERT_TRUE(WaitFor([&] { return !(graphs = GraphWindows(app)).empty(); }));
  RECT reopened;
  GetWindowRect(graphs[0], &reopened);
  EXPECT_EQ(reopened.left, placed.left);
  EXPECT_EQ(reopened.top, placed.top);
  EXPECT_EQ(reopened.right - reopened.left, placed.right - placed.left);
  EXPECT_EQ(reopened.bottom - reopened.top, placed.bottom - placed.top);
}
