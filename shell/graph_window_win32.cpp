#include "shell/graph_window_win32.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/error.h"
#include "app/number_text.h"
#include "app/texts.h"
#include "platform/platform.h"
#include "platform/win32/win32_window_system.h"
#include "settings/graph_bounds.h"
#include "settings/ini_file.h"
#include "settings/monitor_settings.h"
#include "shell/graph_scale.h"
#include "shell/history_csv.h"
#include "shell/window_bounds.h"

namespace {

constexpr int kFontHeight = -12;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
constexpr int kMinBandWidth = 3;
constexpr int kPointSize = 2;
constexpr UINT kCommandSaveCsv = 1;

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kFrame = RGB(128, 128, 128);
constexpr COLORREF kGrid = RGB(224, 224, 224);
constexpr COLORREF kDayLine = RGB(64, 64, 64);
constexpr COLORREF kSleepShade = RGB(200, 200, 240);
constexpr COLORREF kMemoryLine = RGB(0, 64, 192);
constexpr COLORREF kLimitLine = RGB(220, 0, 0);
constexpr COLORREF kMainsFill = RGB(120, 200, 120);
constexpr COLORREF kBatteryFill = RGB(240, 170, 60);
constexpr COLORREF kText = RGB(0, 0, 0);

struct Plot {
  RECT area;
};

SIZE TextSize(HDC dc, const char* text) {
  SIZE size = {};
  GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
  return size;
}

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  const RECT r = {left, top, right, bottom};
  SetBkColor(dc, color);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF color, int width = 1,
          int style = PS_SOLID) {
  const OwnedPen pen(CreatePen(style, width, color));
  const Selection selected(dc, pen.get());
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void Text(HDC dc, int x, int y, const char* text, UINT align) {
  SetTextAlign(dc, align);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kText);
  TextOutA(dc, x, y, text, static_cast<int>(strlen(text)));
}

void FrameOf(HDC dc, const RECT& r) {
  Line(dc, r.left, r.top, r.right, r.top, kFrame);
  Line(dc, r.right, r.top, r.right, r.bottom, kFrame);
  Line(dc, r.right, r.bottom, r.left, r.bottom, kFrame);
  Line(dc, r.left, r.bottom, r.left, r.top, kFrame);
}

// Grid lines and labels of a value axis at the plot's left.
void ValueGrid(HDC dc, const RECT& r, const ValueAxis& axis) {
  for (std::int64_t v = 0; v <= axis.top; v += axis.step) {
    const int y = ValueToY(v, axis.top, r.top, r.bottom);
    if (v > 0) Line(dc, r.left + 1, y, r.right, y, kGrid);
    Text(dc, r.left - 4, y, AxisLabel(v).c_str(), TA_RIGHT | TA_BASELINE);
  }
}

Edges ToEdges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

MONITORINFO MonitorNearest(HMONITOR monitor) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  return info;
}

// The saved place on the work area of the monitor nearest to its centre.
Edges Restored(const GraphBounds& saved) {
  const Edges edges = WithHeight(WithWidth({saved.Left, saved.Top, saved.Left, saved.Top},
                                           saved.Width),
                                 saved.Height);
  const POINT centre = {edges.left + Extent(edges.left, edges.right) / 2,
                        edges.top + Extent(edges.top, edges.bottom) / 2};
  const MONITORINFO monitor = MonitorNearest(MonitorFromPoint(centre, MONITOR_DEFAULTTONEAREST));
  return PlacedInWorkArea(saved.Left, saved.Top, saved.Width, saved.Height,
                          ToEdges(monitor.rcWork), kMinGraphSize);
}

}  // namespace

GraphWindow::~GraphWindow() { Destroy(); }

void GraphWindow::Open(HINSTANCE instance, HWND owner) {
  if (hwnd_ != nullptr) {
    // Asked for from the tray while the program is parked, it shows alone.
    if (!IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOW);
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
    return;
  }
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconA(instance, "MAINICON");
  wc.lpszClassName = texts::kGraphWindowClass;
  RegisterClassA(&wc);
  if (font_.get() == nullptr)
    font_ = OwnedFont(CreateFontA(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, texts::kMainFont));
  if (csvDialog_.title.empty()) csvDialog_ = CsvDialogRequest();

  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, w = kDefaultWidth, h = kDefaultHeight;
  std::optional<GraphBounds> saved;
  {
    IniFile ini(SettingsFilePath());
    saved = ReadGraphBounds(ini);
  }
  if (saved) {
    const Edges place = Restored(*saved);
    x = place.left;
    y = place.top;
    w = Extent(place.left, place.right);
    h = Extent(place.top, place.bottom);
  }
  // Owned like the main window: no task-bar button of its own, and parked
  // with the program.
  CreateWindowExA(0, texts::kGraphWindowClass, texts::kGraphCaption, WS_OVERLAPPEDWINDOW, x, y,
                  w, h, owner, nullptr, instance, this);
  if (hwnd_ == nullptr) return;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
}

void GraphWindow::Refresh() {
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, FALSE);
}

void GraphWindow::SaveBounds() {
  // The restored place, also of a window closed minimised or maximised; it
  // comes in workspace coordinates and is kept in the screen's.
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  GetWindowPlacement(hwnd_, &placement);
  const MONITORINFO monitor =
      MonitorNearest(MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTONEAREST));
  const Edges r = ScreenFromWorkspace(ToEdges(placement.rcNormalPosition),
                                      ToEdges(monitor.rcMonitor), ToEdges(monitor.rcWork));
  IniFile ini(SettingsFilePath());
  WriteGraphBounds(ini, {r.left, r.top, Extent(r.left, r.right), Extent(r.top, r.bottom)});
}

void GraphWindow::OnDestroy() {
  try {
    SaveBounds();
    saveReported_ = false;
  } catch (const AppError&) {
    // A settings file that cannot be written is told once, not at every
    // close; and not at all once the program is ending, where a box would
    // hold up a log-off: the place then stays as it was saved last.
    if (saveReported_ || Application->LoopEnded) return;
    saveReported_ = true;
    throw;
  }
}

void GraphWindow::OnContextMenu(LPARAM lParam) {
  POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (lParam == -1) {  // from the keyboard: at the window's corner
    at = {0, 0};
    ClientToScreen(hwnd_, &at);
  }
  const OwnedMenu menu(CreatePopupMenuOf({{texts::kMenuSaveCsv, kCommandSaveCsv}}));
  const UINT command = static_cast<UINT>(TrackPopupMenu(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr));
  if (command == kCommandSaveCsv) ExportHistoryCsv(history_, csvDialog_);
}

void GraphWindow::OnPaint() {
  const PaintDc paint(hwnd_);
  // A failed paint's report is a modal box, during which this window is
  // asked to paint again: those paints only validate, or the boxes would
  // pile up.
  if (painting_) return;
  painting_ = true;
  Guarded([&] { FormPaint(paint.get()); });
  painting_ = false;
}

LRESULT GraphWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_CONTEXTMENU:
      Guarded([&] { OnContextMenu(lParam); });
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {kMinGraphSize, kMinGraphSize};
      return 0;
    }
    case WM_DESTROY:
      Guarded([&] { OnDestroy(); });
      return 0;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void GraphWindow::FormPaint(HDC target) {
  RECT client;
  GetClientRect(hwnd_, &client);
  const int width = std::max<int>(client.right, 1), height = std::max<int>(client.bottom, 1);
  // Drawn off screen and copied at once, so a resize does not flicker.
  const OwnedDc memoryDc(CreateCompatibleDC(target));
  const OwnedBitmap bitmap(CreateCompatibleBitmap(target, width, height));
  const HDC dc = memoryDc.get();
  const Selection bitmapSelected(dc, bitmap.get());
  const Selection fontSelected(dc, font_.get());
  Fill(dc, 0, 0, width, height, kBackground);

  // The axis is in UTC, so the line never runs back or hides an hour; only
  // the labels and day lines are local.
  const UtcSeconds end = Sys().clock->UtcNow();
  const UtcSeconds start = end - kHistorySpan;
  const std::vector<HistorySample> samples = history_.Samples(end);
  const std::vector<SleepPeriod> sleeps = history_.Sleeps(end);

  const int lineHeight = TextSize(dc, "0").cy;
  const int row = lineHeight + lineHeight / 2;
  const SIZE timeLabel = TextSize(dc, "00:00");
  const int left = TextSize(dc, "000000").cx + 8;
  const int right = width - std::max<int>(timeLabel.cx / 2, 8) - 4;
  const int plotHeight = std::max(2, (height - 3 * row) / 2);
  const RECT memory = {left, row, right, row + plotHeight};
  const RECT battery = {left, memory.bottom + row, right, memory.bottom + row + plotHeight};

  const int tickHours = ChooseTickHours(right - left, timeLabel.cx, lineHeight);
  for (UtcSeconds t : LocalTickTimes(start, end, tickHours * kSecondsPerHour, LocalSecondsAt)) {
    const int x = TimeToX(t, start, end, left, right);
    Line(dc, x, memory.top + 1, x, memory.bottom, kGrid);
    Line(dc, x, battery.top + 1, x, battery.bottom, kGrid);
    const LocalTime lt = LocalTimeAt(t);
    // The program's own number texts: printf would bring 10 KB of formatting.
    const std::string label = PaddedDecimalText(static_cast<std::uint32_t>(lt.hour), 2) + ":" +
                              PaddedDecimalText(static_cast<std::uint32_t>(lt.minute), 2);
    Text(dc, x, battery.bottom + 2, label.c_str(), TA_CENTER | TA_TOP);
  }
  for (UtcSeconds t : LocalTickTimes(start, end, kSecondsPerDay, LocalSecondsAt)) {
    const int x = TimeToX(t, start, end, left, right);
    Line(dc, x, memory.top, x, battery.bottom, kDayLine);
  }

  const std::uint32_t limit = static_cast<std::uint32_t>(MonitorSettings.MemoryLimit);
  const std::int64_t maxMB =
      MemoryAxisMax(samples, limit, Sys().memory->Physical().totalBytes >> 20);
  const ValueAxis memoryAxis = ChooseValueAxis(maxMB, plotHeight, lineHeight);
  ValueGrid(dc, memory, memoryAxis);

  // Battery: filled below the charge, its colour telling mains from battery.
  const bool anyBattery =
      std::any_of(samples.begin(), samples.end(),
                  [](const HistorySample& s) { return s.batteryPercent != kUnknownBatteryPercent; });
  if (anyBattery) {
    const ValueAxis percentAxis = ChooseValueAxis(100, plotHeight, lineHeight);
    for (std::size_t i = 0; i < samples.size(); ++i) {
      const HistorySample& s = samples[i];
      if (s.batteryPercent == kUnknownBatteryPercent) continue;
      const int x0 = TimeToX(s.time, start, end, battery.left, battery.right);
      const bool joined = i + 1 < samples.size() && Joined(s, samples[i + 1]);
      const int x1 = joined ? TimeToX(samples[i + 1].time, start, end, battery.left, battery.right)
                            : x0 + 1;
      const int y = ValueToY(s.batteryPercent, percentAxis.top, battery.top, battery.bottom);
      Fill(dc, x0, y, std::max(x1, x0 + 1), battery.bottom, DrawnOnMains(s) ? kMainsFill : kBatteryFill);
    }
    ValueGrid(dc, battery, percentAxis);
  } else {
    // On a clear patch: a day line may pass behind the middle.
    const int x = (battery.left + battery.right) / 2;
    const int y = (battery.top + battery.bottom - lineHeight) / 2;
    const int half = TextSize(dc, texts::kNoBattery).cx / 2 + 2;
    Fill(dc, x - half, y, x + half, y + lineHeight, kBackground);
    Text(dc, x, y, texts::kNoBattery, TA_CENTER | TA_TOP);
  }

  // Sleeps over both plots; a short one still shows, reaching back from its end.
  for (const SleepPeriod& p : sleeps) {
    const int x1 = TimeToX(p.end, start, end, left, right);
    const int x0 = std::min(TimeToX(p.start, start, end, left, right), x1 - kMinBandWidth);
    Fill(dc, std::max(x0, left + 1), memory.top + 1, x1, battery.bottom, kSleepShade);
  }

  // Memory: the line, the limit, and the points below it.
  if (limit != 0) {
    const int y = ValueToY(limit, memoryAxis.top, memory.top, memory.bottom);
    Line(dc, memory.left, y, memory.right, y, kLimitLine, 1, PS_DASH);
  }
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const PlotPoint p = MemoryPoint(samples[i], start, end, memoryAxis.top, memory.left,
                                    memory.top, memory.right, memory.bottom);
    if (i > 0 && Joined(samples[i - 1], samples[i])) {
      const PlotPoint q = MemoryPoint(samples[i - 1], start, end, memoryAxis.top, memory.left,
                                      memory.top, memory.right, memory.bottom);
      Line(dc, q.x, q.y, p.x, p.y, kMemoryLine, 2);
    }
    const bool low = limit != 0 && samples[i].availMB < limit;
    if (low || i + 1 == samples.size())
      Fill(dc, p.x - kPointSize, p.y - kPointSize, p.x + kPointSize + 1, p.y + kPointSize + 1,
           low ? kLimitLine : kMemoryLine);
  }

  FrameOf(dc, memory);
  FrameOf(dc, battery);
  Text(dc, memory.left, memory.top - lineHeight - 2, texts::kGraphMemoryTitle, TA_LEFT | TA_TOP);
  Text(dc, battery.left, battery.top - lineHeight - 2, texts::kGraphBatteryTitle,
       TA_LEFT | TA_TOP);

  // The legend, right-aligned above the plots, where no sleep reaches.
  const struct {
    const char* caption;
    COLORREF color;
  } legend[] = {{texts::kGraphMains, kMainsFill},
                {texts::kGraphOnBattery, kBatteryFill},
                {texts::kGraphSleep, kSleepShade}};
  int x = memory.right;
  const int legendTop = memory.top - lineHeight - 2;
  const int titleRight = memory.left + TextSize(dc, texts::kGraphMemoryTitle).cx;
  for (int i = 2; i >= 0; --i) {
    x -= TextSize(dc, legend[i].caption).cx;
    if (x - lineHeight - 2 < titleRight + lineHeight) break;  // no room beside the title
    Text(dc, x, legendTop, legend[i].caption, TA_LEFT | TA_TOP);
    x -= lineHeight + 2;
    Fill(dc, x, legendTop + 2, x + lineHeight - 2, legendTop + lineHeight - 2, legend[i].color);
    x -= lineHeight;
  }

  BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}
