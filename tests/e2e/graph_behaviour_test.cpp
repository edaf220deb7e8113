#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/laptop.h"

// The graph window as part of the program, opened as a user opens it.

namespace {


// Once one of the program's popup menus shows, a key to it.
bool ChooseFromMenu(char mnemonic) {
  HWND menu = nullptr;
  if (!WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }))
    return false;
  return PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(mnemonic), 0) != FALSE;
}

}  // namespace

TEST(GraphBehaviour, HasNoButtonOfItsOwnAndParksAndComesBackWithTheProgram) {
  TessarilProcess app;
  app.Start();
  HWND graph = OpenGraph(app), application = WindowOfClass(app, "TApplication");
  ASSERT_NE(graph, nullptr);
  // Owned and not WS_EX_APPWINDOW: the system gives it no task-bar button.
  EXPECT_EQ(GetWindow(graph, GW_OWNER), application);
  EXPECT_EQ(GetWindowLongA(graph, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  PostMessageA(app.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(application); }));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(graph); })) << "on screen while parked";
  PostMessageA(WindowOfClass(app, "TTaskTrayWnd"), kTaskTray, 0, WM_LBUTTONUP);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(app.MainWindow()) != FALSE; }));
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(graph) != FALSE; })) << "not back with it";
}

TEST(GraphBehaviour, EscClosesIt) {
  TessarilProcess app;
  app.Start();
  HWND graph = OpenGraph(app);
  ASSERT_NE(graph, nullptr);
  PostMessageA(graph, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(graph); }));
}

TEST(GraphBehaviour, APlaceSavedOffTheScreenOpensOnItAndIsSavedSo) {
  TessarilProcess app;
  LaunchOptions options;
  options.ini = "[main]\r\nMemoryLimit=0\r\n[extra]\r\nGraphLeft=3000\r\nGraphTop=100\r\n"
                "GraphWidth=640\r\nGraphHeight=480\r\n";
  app.Start(options);
  HWND graph = OpenGraph(app);
  ASSERT_NE(graph, nullptr);
  RECT work = {}, r = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(graph, &r);
  EXPECT_EQ(r.right, work.right) << "moved in as far as it must";
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right - r.left, 640);
  PostMessageA(graph, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(graph); }));
  EXPECT_NE(app.ReadFile("Tessaril.ini").value_or("").find("\nGraphLeft=" +
                                                            std::to_string(r.left) + "\r"),
            std::string::npos);
}

// A settings file that cannot be written (a folder in its place) is told at
// the first close; a box at a later close or at log-off would block the
// message sent, and a log-off would wait for it.
TEST(GraphBehaviour, AnUnwritablePlaceIsToldOnceAndNeverHoldsUpALogOff) {
  TessarilProcess app;
  ASSERT_TRUE(CreateDirectoryA(app.FilePath("Tessaril.ini").c_str(), nullptr));
  app.Start();
  HWND graph = OpenGraph(app);
  ASSERT_NE(graph, nullptr);
  PostMessageA(graph, WM_CLOSE, 0, 0);
  EXPECT_NE(AnswerBox(app, "Tessaril").find("に書き込めません"), std::string::npos);
  DWORD_PTR reply = 0;
  ASSERT_NE(graph = OpenGraph(app), nullptr);
  EXPECT_NE(SendMessageTimeoutA(graph, WM_CLOSE, 0, 0, SMTO_NORMAL,
                                static_cast<UINT>(kReplyTimeout.count()), &reply),
            0);
  ASSERT_NE(OpenGraph(app), nullptr);
  PostMessageA(WindowOfClass(app, "TApplication"), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}

// Saved from the context menu under the name offered, the newest line holds
// the memory the system reports, more than 32 bits of bytes can count.
TEST_F(LaptopTest, GraphSavesItsFiguresAsCsv) {
  laptop.FreeMemory(6000);
  TessarilProcess app;
  app.Start();
  app.SendPowerBroadcast(PBT_APMPOWERSTATUSCHANGE, 0);  // a sample now
  HWND graph = OpenGraph(app);
  ASSERT_NE(graph, nullptr);
  PostMessageA(graph, WM_RBUTTONUP, 0, MAKELPARAM(40, 40));
  ASSERT_TRUE(ChooseFromMenu('s'));
  HWND save = app.FindDialog("CSVで保存", kStartTimeout);
  // COM, started by the file dialogs, may start a thread that qemu-i386
  // cannot run on some machines.
  if (save == nullptr && app.WaitForExit(kExitTimeout))
    if (const auto crash = app.EmulatorCrash())
      GTEST_SKIP() << "qemu-i386 died under the 32-bit file dialog: " << *crash;
  ASSERT_NE(save, nullptr);
  ClickButton(save, IDOK);
  WIN32_FIND_DATAA found = {};
  std::string csv;
  EXPECT_TRUE(WaitFor([&] {
    HANDLE search = FindFirstFileA(app.FilePath("Tessaril_*.csv").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    csv = search == INVALID_HANDLE_VALUE ? "" : app.ReadFile(found.cFileName).value_or("");
    return csv.size() > 2 && csv.compare(csv.size() - 2, 2, "\r\n") == 0;
  })) << csv;
  EXPECT_EQ(csv.rfind("日時,空きメモリ (MB),ACアダプタ,バッテリ残量 (%),スリープ\r\n", 0), 0u);
  // The newest line: its time, then no battery, on mains, awake.
  const std::string newest = csv.substr(csv.rfind("\r\n", csv.size() - 3) + 2);
  EXPECT_EQ(newest.size(), 34u) << newest;
  EXPECT_EQ(newest.substr(19), ",6000,1,255,0\r\n") << newest;
}
