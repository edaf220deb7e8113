#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

// The program at 150 % display scale (144 DPI) against itself at 100 %:
// what it places and draws is one and a half times as large, what it saves
// is not.

namespace {

constexpr DWORD kScaledDpi = 144;
constexpr double kFactor = kScaledDpi / 96.0;

// A window's place, found as the user meets it: by order, class and text.
struct Placed {
  std::string what;  // class and text
  RECT place;
  bool page;  // fills the page control's display area, which the control reckons
};

// The window's children and theirs, in order.
void AddLayout(HWND window, std::vector<Placed>& placed) {
  for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    placed.push_back({ClassOf(c) + " " + WindowText(c), PlaceInParent(c),
                      ClassOf(window) == "SysTabControl32"});
    AddLayout(c, placed);
  }
}

// Each rectangle against its 100 % one times 1.5, one pixel either way for
// each of left, top, width and height, every one scaled on its own. The
// version line is as wide as its text: there every character's width is a
// value of its own.
void ExpectScaled(const std::vector<Placed>& at96, const std::vector<Placed>& scaled) {
  ASSERT_EQ(scaled.size(), at96.size());
  for (std::size_t i = 0; i < at96.size(); ++i) {
    const RECT &r = at96[i].place, &s = scaled[i].place;
    const std::string& what = at96[i].what;
    EXPECT_EQ(scaled[i].what, what);
    if (at96[i].page) continue;
    const std::size_t text = what.find(" Tessaril ver.");
    EXPECT_NEAR(s.left, r.left * kFactor, 1) << what;
    EXPECT_NEAR(s.top, r.top * kFactor, 1) << what;
    EXPECT_NEAR(s.right - s.left, (r.right - r.left) * kFactor,
                text == std::string::npos ? 1 : what.size() - text - 1)
        << what;
    EXPECT_NEAR(s.bottom - s.top, (r.bottom - r.top) * kFactor, 1) << what;
  }
}

LaunchOptions Launch() {
  LaunchOptions options;
  // A limit of -1 is 4294967295 MB: the start shows the memory alert.
  // The graph clear of the settings dialog (centred over the main window)
  // at both scales and after the moves below: its text is read from the
  // screen.
  options.ini = "[main]\r\nMemoryLimit=-1\r\nSavePath=C:\\t.log\r\nLeft=40\r\nTop=50\r\n"
                "Width=600\r\nHeight=130\r\n[extra]\r\nGraphLeft=660\r\nGraphTop=300\r\n"
                "GraphWidth=600\r\nGraphHeight=450\r\n";
  options.wait = StartWait::kMainWindow;
  return options;
}

int LineHeight(HWND memo) {
  DWORD_PTR second = 0, first = 0, at = 0;
  SendMessageTimeoutA(memo, EM_LINEINDEX, 1, 0, SMTO_ABORTIFHUNG, 5000, &second);
  SendMessageTimeoutA(memo, EM_POSFROMCHAR, 0, 0, SMTO_ABORTIFHUNG, 5000, &first);
  SendMessageTimeoutA(memo, EM_POSFROMCHAR, second, 0, SMTO_ABORTIFHUNG, 5000, &at);
  return static_cast<short>(HIWORD(at)) - static_cast<short>(HIWORD(first));
}

// The height of the lowest text in the window as the screen shows it: the
// rows with dark pixels, counted up from the bottom of the client area to
// the first row without any. In the graph these are the time labels.
int InkHeightNow(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  const int width = client.right, height = client.bottom;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER header = {sizeof header, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<COLORREF> pixels(static_cast<std::size_t>(width) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  const auto darkRow = [&](int y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = pixels[static_cast<std::size_t>(y) * width + x];
      if (GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100) return true;
    }
    return false;
  };
  int y = height - 1;
  while (y >= 0 && !darkRow(y)) --y;
  const int bottom = y;
  while (y >= 0 && darkRow(y)) --y;
  return bottom - y;
}

// Painted again and read until two readings agree: Wine copies a window's
// paint to the screen only when the program's thread next waits.
int InkHeightAtBottom(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  int height = -1, previous = -2;
  WaitFor([&] {
    previous = height;
    height = InkHeightNow(window);
    return height == previous;
  });
  return height;
}

struct Measured {
  RECT bounds = {};  // the main window's
  HWND memo = nullptr, dialog = nullptr, graph = nullptr;
  // The memory alert's icon and its button's size, the settings dialog's
  // client area, then what Contents gives.
  std::vector<Placed> scaled;
};

// The event list's line height (its font's), the graph's text height and
// the dialog's controls.
std::vector<Placed> Contents(const Measured& m) {
  std::vector<Placed> placed = {{"line", {0, 0, 0, LineHeight(m.memo)}, false},
                                {"graph text", {0, 0, 0, InkHeightAtBottom(m.graph)}, false}};
  AddLayout(m.dialog, placed);
  return placed;
}

// Leaves the graph and the settings dialog open.
Measured Measure(const TessarilProcess& app) {
  Measured m;
  HWND box = app.FindDialog("情報");
  if (box == nullptr) throw std::runtime_error("no memory alert");
  // The graph first: under Wine its focus, arriving late, closed the tray
  // menu of the settings command when that came right after it.
  m.graph = OpenGraph(app);
  if (m.graph == nullptr) throw std::runtime_error("the graph window did not open");
  for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
    if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      m.scaled.push_back({"icon", PlaceInParent(c), false});
  const RECT ok = PlaceInParent(GetDlgItem(box, IDOK));
  m.scaled.push_back({"OK", {0, 0, ok.right - ok.left, ok.bottom - ok.top}, false});
  ClickButton(box, IDOK);
  if (m.scaled.size() != 2 || !WaitFor([&] { return IsWindowVisible(app.MainWindow()) != FALSE; }))
    throw std::runtime_error("no icon in the memory alert, or no main window after it");
  GetWindowRect(app.MainWindow(), &m.bounds);
  app.SendPowerBroadcast(PBT_APMRESUMESUSPEND, 0);  // a second line
  m.memo = FindWindowExA(app.MainWindow(), nullptr, "EDIT", nullptr);
  m.dialog = OpenSettings(app);
  if (m.dialog == nullptr) throw std::runtime_error("the settings dialog did not open");
  RECT client = {};
  GetClientRect(m.dialog, &client);
  m.scaled.push_back({"client area", client, false});
  const std::vector<Placed> contents = Contents(m);
  m.scaled.insert(m.scaled.end(), contents.begin(), contents.end());
  return m;
}

// The event list fills the main window, which is where it was put.
void ExpectMainWindowAt(const Measured& m, const RECT& bounds) {
  RECT window = {}, client = {};
  GetWindowRect(GetParent(m.memo), &window);
  GetClientRect(GetParent(m.memo), &client);
  const RECT memo = PlaceInParent(m.memo);
  EXPECT_TRUE(EqualRect(&window, &bounds));
  EXPECT_TRUE(EqualRect(&memo, &client));
}

}  // namespace

// Wine reads the awareness as Windows does, from these namespaces: a typo
// would leave the program blurry on Windows and pass every other test.
TEST(Dpi, ManifestAsksForPerMonitorV2WithTheOlderFallback) {
  TessarilProcess app;
  const std::string exe = app.FilePath(BaseName(std::getenv("TESSARIL_EXE")));
  ACTCTXA request = {};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = exe.c_str();
  request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
  HANDLE context = CreateActCtxA(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE) << GetLastError();
  wchar_t awareness[64] = {}, aware[64] = {};
  QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                       L"dpiAwareness", awareness, 64, nullptr);
  QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                       L"dpiAware", aware, 64, nullptr);
  ReleaseActCtx(context);
  EXPECT_EQ(std::wstring(awareness).substr(0, 13), L"PerMonitorV2,");
  EXPECT_EQ(std::wstring(aware), L"true/pm");
}

TEST(Dpi, At150PercentWhatTheProgramPlacesScalesAndItsSavedPlaceDoesNot) {
  Measured at96;
  {
    TessarilProcess app;
    app.Start(Launch());
    at96 = Measure(app);
  }
  ScreenDpi dpi(kScaledDpi);
  TessarilProcess app;
  app.Start(Launch());
  const Measured at144 = Measure(app);
  ExpectScaled(at96.scaled, at144.scaled);
  ExpectMainWindowAt(at144, at96.bounds);
  SaveScreenshot(at144.dialog, app.ScreenshotPath("SettingsDialog144dpi"));
  SaveScreenshot(at144.graph, app.ScreenshotPath("GraphWindow144dpi"));
}

TEST(Dpi, MovedToAMonitorAt150PercentTakesTheSuggestedPlaceAndLaysOutAgain) {
  TessarilProcess app;
  if (app.Is32Bit())
    GTEST_SKIP() << "qemu-i386 keeps the 32-bit program's memory where memory written from "
                    "outside does not reach (it read zeros): the rectangle of a WM_DPICHANGED "
                    "cannot be handed to it; the 64-bit exe runs the same handlers";
  app.Start(Launch());
  const Measured at96 = Measure(app);
  // The system's message points at the rectangle in the receiver's memory,
  // which goes with the program.
  const std::unique_ptr<void, decltype(&CloseHandle)> process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, app.ProcessId()), &CloseHandle);
  void* remote = VirtualAllocEx(process.get(), nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  ASSERT_NE(remote, nullptr) << GetLastError();
  const auto moveTo = [&](HWND window, const RECT& suggested) {
    WriteProcessMemory(process.get(), remote, &suggested, sizeof suggested, nullptr);
    DWORD_PTR reply = 0;
    SendMessageTimeoutA(window, WM_DPICHANGED, MAKEWPARAM(kScaledDpi, kScaledDpi),
                        reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &reply);
  };
  RECT suggested = {}, now = {}, graphSuggested = {}, graphNow = {};
  GetWindowRect(at96.dialog, &suggested);
  OffsetRect(&suggested, 10, 20);
  GetWindowRect(at96.graph, &graphSuggested);
  OffsetRect(&graphSuggested, 10, 20);
  moveTo(at96.dialog, suggested);
  moveTo(app.MainWindow(), {100, 100, 900, 300});
  moveTo(at96.graph, graphSuggested);
  GetWindowRect(at96.dialog, &now);
  GetWindowRect(at96.graph, &graphNow);
  EXPECT_TRUE(EqualRect(&now, &suggested));
  EXPECT_TRUE(EqualRect(&graphNow, &graphSuggested));
  ExpectMainWindowAt(at96, {100, 100, 900, 300});
  // All but the alert, gone, and the client area, whose frame stays Wine's.
  ExpectScaled({at96.scaled.begin() + 3, at96.scaled.end()}, Contents(at96));
}
