#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/harness.h"

#if __has_include("tests/e2e/laptop.h")
#include "tests/e2e/laptop.h"
#define TESSARIL_LAPTOP 1
#endif

// The graph window as part of the program: parked with it, restored onto
// the screen, closed by Esc, and its figures saved as CSV.

namespace {

constexpr UINT kTaskTray = 0x8309;  // the icon's callback message
constexpr char kGraphCaption[] = "推移グラフ";

// The graph window, shown or not; null when there is none.
HWND GraphOf(const TessarilProcess& app) {
  char caption[64];
  for (HWND window : app.WindowsOfProcess())
    if (GetWindowTextA(window, caption, sizeof caption) > 0 &&
        std::string(caption) == kGraphCaption)
      return window;
  return nullptr;
}

// A popup menu of the program's, once it shows; then a key to it.
bool ChooseFromMenu(char mnemonic) {
  HWND menu = nullptr;
  if (!WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }))
    return false;
  PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(mnemonic), 0);
  return true;
}

// グラフ(&G) from the icon's menu; the graph window once it shows.
HWND OpenGraphFromTray(const TessarilProcess& app) {
  PostMessageA(WindowOfClass(app, "TTaskTrayWnd"), kTaskTray, 0, WM_RBUTTONUP);
  if (!ChooseFromMenu('g')) return nullptr;
  HWND graph = nullptr;
  WaitFor([&] { return (graph = GraphOf(app)) != nullptr && IsWindowVisible(graph); });
  return graph;
}

RECT WorkArea() {
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

// The value of a key of the settings file; empty when it is not there.
std::string IniValue(const TessarilProcess& app, const std::string& key) {
  const std::string ini = app.ReadFile("Tessaril.ini").value_or("");
  const std::size_t at = ini.find("\n" + key + "=");
  if (at == std::string::npos) return "";
  const std::size_t start = at + key.size() + 2;
  return ini.substr(start, ini.find('\r', start) - start);
}

}  // namespace

TEST(GraphWindow, IsOwnedAndParksAndComesBackWithTheProgram) {
  TessarilProcess app;
  app.Start();
  HWND graph = OpenGraphFromTray(app);
  ASSERT_NE(graph, nullptr);
  HWND application = WindowOfClass(app, "TApplication");
  // A window with an owner and without WS_EX_APPWINDOW has no task-bar
  // button: the program's one button stays the application window's.
  EXPECT_EQ(GetWindow(graph, GW_OWNER), application);
  EXPECT_EQ(GetWindowLongA(graph, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

  PostMessageA(app.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(application); }));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(graph); })) << "left on screen when parked";

  PostMessageA(WindowOfClass(app, "TTaskTrayWnd"), kTaskTray, 0, WM_LBUTTONUP);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(app.MainWindow()) != FALSE; }));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(graph) != FALSE; })) << "not back with it";
  EXPECT_EQ(GraphOf(app), graph);
}

TEST(GraphWindow, EscCloses) {
  TessarilProcess app;
  app.Start();
  HWND graph = OpenGraphFromTray(app);
  ASSERT_NE(graph, nullptr);
  SetForegroundWindow(graph);
  PostMessageA(graph, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageA(graph, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(graph); }));
  EXPECT_TRUE(app.Running());
}

// A place saved off a 1280-pixel screen, or at the ends of the range,
// opens whole on the work area and is saved as it opened.
TEST(GraphWindow, ASavedPlaceOffTheScreenOpensOnIt) {
  const RECT work = WorkArea();
  const struct {
    const char* name;
    const char* extra;
    LONG width, height;  // 0: at least 200
  } cases[] = {
      {"right of the screen", "GraphLeft=3000\r\nGraphTop=100\r\nGraphWidth=640\r\nGraphHeight=480\r\n",
       640, 480},
      {"every value at the top of the range",
       "GraphLeft=2147483647\r\nGraphTop=2147483647\r\nGraphWidth=2147483647\r\n"
       "GraphHeight=2147483647\r\n",
       work.right - work.left, work.bottom - work.top},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TessarilProcess app;
    LaunchOptions options;
    options.ini = std::string("[main]\r\nMemoryLimit=0\r\n[extra]\r\n") + c.extra;
    app.Start(options);
    HWND graph = OpenGraphFromTray(app);
    ASSERT_NE(graph, nullptr);
    RECT r;
    GetWindowRect(graph, &r);
    EXPECT_GE(r.left, work.left);
    EXPECT_GE(r.top, work.top);
    EXPECT_LE(r.right, work.right);
    EXPECT_LE(r.bottom, work.bottom);
    EXPECT_EQ(r.right - r.left, c.width);
    EXPECT_EQ(r.bottom - r.top, c.height);

    PostMessageA(graph, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(graph); }));
    EXPECT_EQ(IniValue(app, "GraphLeft"), std::to_string(r.left));
    EXPECT_EQ(IniValue(app, "GraphTop"), std::to_string(r.top));
    EXPECT_EQ(IniValue(app, "GraphWidth"), std::to_string(r.right - r.left));
    EXPECT_EQ(IniValue(app, "GraphHeight"), std::to_string(r.bottom - r.top));
  }
}

#ifdef TESSARIL_LAPTOP
// The figures of the graph, read by a user's spreadsheet: saved from the
// window's context menu, the newest line holds the available memory the
// system reports, above what 32 bits of bytes can count.
TEST_F(LaptopTest, GraphSavesItsFiguresAsCsv) {
  laptop.FreeMemory(6000);
  TessarilProcess app;
  app.Start();
  app.SendPowerBroadcast(PBT_APMPOWERSTATUSCHANGE, 0);  // a sample now
  HWND graph = OpenGraphFromTray(app);
  ASSERT_NE(graph, nullptr);

  PostMessageA(graph, WM_RBUTTONUP, 0, MAKELPARAM(40, 40));
  ASSERT_TRUE(ChooseFromMenu('s')) << "no context menu";
  HWND save = app.FindDialog("CSVで保存", kStartTimeout);
  if (save == nullptr && app.WaitForExit(kExitTimeout)) {
    // The file dialogs start COM, which may start a thread of its own; on
    // some machines qemu-i386 cannot run that thread's first traps.
    if (const auto crash = app.EmulatorCrash())
      GTEST_SKIP() << "qemu-i386 died under the 32-bit file dialog: " << *crash;
  }
  ASSERT_NE(save, nullptr) << "no save dialog";
  ClickButton(save, IDOK);  // the name it offers: the day's file beside the program

  WIN32_FIND_DATAA found = {};
  std::optional<std::string> csv;
  WaitFor([&] {
    HANDLE search = FindFirstFileA(app.FilePath("*.csv").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    csv = app.ReadFile(found.cFileName);
    return csv && csv->size() > 2 && csv->compare(csv->size() - 2, 2, "\r\n") == 0;
  });
  ASSERT_TRUE(csv) << "no CSV file in the program's folder";
  EXPECT_EQ(std::string(found.cFileName).rfind("Tessaril_", 0), 0u) << found.cFileName;
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = csv->find("\r\n", start)) != std::string::npos;
       start = end + 2)
    lines.push_back(csv->substr(start, end - start));
  ASSERT_GE(lines.size(), 2u) << *csv;
  EXPECT_EQ(lines[0], "日時,空きメモリ (MB),ACアダプタ,バッテリ残量 (%),スリープ");
  const std::string& newest = lines.back();
  // "yyyy/mm/dd hh:nn:ss", then the figures: no battery, on mains, awake.
  ASSERT_GT(newest.size(), 20u) << newest;
  EXPECT_EQ(newest[4], '/');
  EXPECT_EQ(newest[13], ':');
  EXPECT_EQ(newest.substr(19), ",6000,1,255,0") << newest;
}
#endif
