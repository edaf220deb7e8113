#include "shell/graph_window_win32.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/error.h"
#include "app/number_text.h"
#include "app/texts.h"
#include "platform/platform.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_window_system.h"
#include "settings/graph_bounds.h"
#include "settings/ini_file.h"
#include "settings/monitor_settings.h"
#include "shell/graph_scale.h"
#include "shell/history_csv.h"
#include "shell/window_bounds.h"

namespace {

// At 96 DPI, scaled to the window's.
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
constexpr UINT kCommandSaveCsv = 1;
// The widest value and time labels the layout leaves room for.
constexpr char kValueLabelRoom[] = "000000";
constexpr char kTimeLabelRoom[] = "00:00";

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

// What every part of one paint draws on and with: the off-screen DC, the
// day shown, the sizes at the window's DPI, the font's figures and the plots.
struct Canvas {
  HDC dc;
  UtcSeconds start, end;
  GraphSizes sizes;
  int lineHeight, timeLabelWidth;
  PlotBox memory, battery;
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

// Lines along the axes are filled, `thick` pixels across, to the right of
// or below where a one-pixel line lies: exact at every DPI, where a wide
// pen's pixels fall either side of the line as the system chooses.
void VerticalLine(HDC dc, int x, int top, int bottom, int thick, COLORREF color) {
  Fill(dc, x, top, x + thick, bottom, color);
}
void HorizontalLine(HDC dc, int left, int right, int y, int thick, COLORREF color) {
  Fill(dc, left, y, right, y + thick, color);
}

// The plot's edges, `thick` pixels wide inside them.
void FrameOf(HDC dc, const PlotBox& r, int thick) {
  HorizontalLine(dc, r.left, r.right + 1, r.top, thick, kFrame);
  HorizontalLine(dc, r.left, r.right + 1, r.bottom - thick + 1, thick, kFrame);
  VerticalLine(dc, r.left, r.top, r.bottom + 1, thick, kFrame);
  VerticalLine(dc, r.right - thick + 1, r.top, r.bottom + 1, thick, kFrame);
}

// The limit line's pen: one pixel wide, the system's dashed pen; wider, a
// geometric one with the dashes given, as the system draws a wide pen of
// the plain kind solid.
OwnedPen DashedPen(const GraphSizes& sizes, COLORREF color) {
  if (sizes.line <= 1) return OwnedPen(CreatePen(PS_DASH, 1, color));
  const LOGBRUSH brush = {BS_SOLID, color, 0};
  const DWORD dashes[] = {static_cast<DWORD>(sizes.dash), static_cast<DWORD>(sizes.dashGap)};
  return OwnedPen(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT,
                               static_cast<DWORD>(sizes.line), &brush, 2, dashes));
}

void Line(HDC dc, const PlotPoint& from, const PlotPoint& to) {
  MoveToEx(dc, from.x, from.y, nullptr);
  LineTo(dc, to.x, to.y);
}

void Text(HDC dc, int x, int y, const char* text, UINT align) {
  SetTextAlign(dc, align);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kText);
  TextOutA(dc, x, y, text, static_cast<int>(strlen(text)));
}

int XOf(const Canvas& c, UtcSeconds time) {
  return TimeToX(time, c.start, c.end, c.memory.left, c.memory.right);
}

// Grid lines and labels of a value axis at the plot's left.
void DrawValueGrid(const Canvas& c, const PlotBox& r, const ValueAxis& axis) {
  for (std::int64_t v = 0; v <= axis.top; v += axis.step) {
    const int y = ValueToY(v, axis.top, r.top, r.bottom);
    if (v > 0) HorizontalLine(c.dc, r.left + c.sizes.line, r.right, y, c.sizes.line, kGrid);
    Text(c.dc, r.left - c.sizes.labelGap, y, AxisLabel(v).c_str(), TA_RIGHT | TA_BASELINE);
  }
}

// Hour lines in both plots with their labels below, then the day lines.
void DrawTimeAxis(const Canvas& c) {
  const int line = c.sizes.line;
  const int tickHours =
      ChooseTickHours(c.memory.right - c.memory.left, c.timeLabelWidth, c.lineHeight);
  for (UtcSeconds t : LocalTickTimes(c.start, c.end, tickHours * kSecondsPerHour, LocalSecondsAt)) {
    const int x = XOf(c, t);
    VerticalLine(c.dc, x, c.memory.top + line, c.memory.bottom, line, kGrid);
    VerticalLine(c.dc, x, c.battery.top + line, c.battery.bottom, line, kGrid);
    const LocalTime lt = LocalTimeAt(t);
    // The program's own number texts: printf would bring 10 KB of formatting.
    const std::string label = PaddedDecimalText(static_cast<std::uint32_t>(lt.hour), 2) + ":" +
                              PaddedDecimalText(static_cast<std::uint32_t>(lt.minute), 2);
    Text(c.dc, x, c.battery.bottom + c.sizes.textGap, label.c_str(), TA_CENTER | TA_TOP);
  }
  for (UtcSeconds t : LocalTickTimes(c.start, c.end, kSecondsPerDay, LocalSecondsAt))
    VerticalLine(c.dc, XOf(c, t), c.memory.top, c.battery.bottom, line, kDayLine);
}

// Battery: filled below the charge, its colour telling mains from battery.
void DrawBattery(const Canvas& c, const std::vector<HistorySample>& samples) {
  const PlotBox& r = c.battery;
  const bool anyBattery =
      std::any_of(samples.begin(), samples.end(),
                  [](const HistorySample& s) { return s.batteryPercent != kUnknownBatteryPercent; });
  if (!anyBattery) {
    // On a clear patch: a day line may pass behind the middle.
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom - c.lineHeight) / 2;
    const int half = TextSize(c.dc, texts::kNoBattery).cx / 2 + c.sizes.textGap;
    Fill(c.dc, x - half, y, x + half, y + c.lineHeight, kBackground);
    Text(c.dc, x, y, texts::kNoBattery, TA_CENTER | TA_TOP);
    return;
  }
  const ValueAxis axis = ChooseValueAxis(100, r.bottom - r.top, c.lineHeight);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const HistorySample& s = samples[i];
    if (s.batteryPercent == kUnknownBatteryPercent) continue;
    const int x0 = XOf(c, s.time);
    const bool joined = i + 1 < samples.size() && Joined(s, samples[i + 1]);
    const int x1 = joined ? XOf(c, samples[i + 1].time) : x0 + 1;
    const int y = ValueToY(s.batteryPercent, axis.top, r.top, r.bottom);
    Fill(c.dc, x0, y, std::max(x1, x0 + 1), r.bottom, DrawnOnMains(s) ? kMainsFill : kBatteryFill);
  }
  DrawValueGrid(c, r, axis);
}

// Sleeps over both plots; a short one still shows, reaching back from its end.
void DrawSleeps(const Canvas& c, const std::vector<SleepPeriod>& sleeps) {
  for (const SleepPeriod& p : sleeps) {
    const int x1 = XOf(c, p.end);
    const int x0 = std::min(XOf(c, p.start), x1 - c.sizes.minBand);
    Fill(c.dc, std::max(x0, c.memory.left + c.sizes.line), c.memory.top + c.sizes.line, x1,
         c.battery.bottom, kSleepShade);
  }
}

// Memory: the limit, the line, and the points below the limit and the newest.
void DrawMemory(const Canvas& c, const std::vector<HistorySample>& samples, const ValueAxis& axis,
                std::uint32_t limit) {
  const PlotBox& r = c.memory;
  if (limit != 0) {
    // A wide pen is centred on its line: half of it down, it covers the
    // rows from y down, as the other lines do.
    const int y = ValueToY(limit, axis.top, r.top, r.bottom) + c.sizes.line / 2;
    const OwnedPen pen = DashedPen(c.sizes, kLimitLine);
    const Selection selected(c.dc, pen.get());
    Line(c.dc, {r.left, y}, {r.right, y});
  }
  const OwnedPen pen(CreatePen(PS_SOLID, c.sizes.memoryLine, kMemoryLine));
  const Selection selected(c.dc, pen.get());
  const auto pointOf = [&](const HistorySample& s) {
    return MemoryPoint(s, c.start, c.end, axis.top, r.left, r.top, r.right, r.bottom);
  };
  const int mark = c.sizes.mark;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const PlotPoint p = pointOf(samples[i]);
    if (i > 0 && Joined(samples[i - 1], samples[i])) Line(c.dc, pointOf(samples[i - 1]), p);
    const bool low = limit != 0 && samples[i].availMB < limit;
    if (low || i + 1 == samples.size())
      Fill(c.dc, p.x - mark, p.y - mark, p.x + mark + 1, p.y + mark + 1,
           low ? kLimitLine : kMemoryLine);
  }
}

// The frames, each plot's title and the legend, right-aligned above the
// plots where no sleep reaches.
void DrawFramesAndTitles(const Canvas& c) {
  const GraphSizes& s = c.sizes;
  FrameOf(c.dc, c.memory, s.line);
  FrameOf(c.dc, c.battery, s.line);
  const int legendTop = c.memory.top - c.lineHeight - s.textGap;
  Text(c.dc, c.memory.left, legendTop, texts::kGraphMemoryTitle, TA_LEFT | TA_TOP);
  Text(c.dc, c.battery.left, c.battery.top - c.lineHeight - s.textGap, texts::kGraphBatteryTitle,
       TA_LEFT | TA_TOP);

  const struct {
    const char* caption;
    COLORREF color;
  } legend[] = {{texts::kGraphMains, kMainsFill},
                {texts::kGraphOnBattery, kBatteryFill},
                {texts::kGraphSleep, kSleepShade}};
  int x = c.memory.right;
  const int titleRight = c.memory.left + TextSize(c.dc, texts::kGraphMemoryTitle).cx;
  for (int i = 2; i >= 0; --i) {
    x -= TextSize(c.dc, legend[i].caption).cx;
    // No room beside the title.
    if (x - c.lineHeight - s.textGap < titleRight + c.lineHeight) break;
    Text(c.dc, x, legendTop, legend[i].caption, TA_LEFT | TA_TOP);
    x -= c.lineHeight + s.textGap;
    Fill(c.dc, x, legendTop + s.textGap, x + c.lineHeight - s.textGap,
         legendTop + c.lineHeight - s.textGap, legend[i].color);
    x -= c.lineHeight;
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
  // The default size is given at 96 DPI; the window's DPI is known once it
  // exists. A saved place is physical pixels and stays as it is.
  if (!saved)
    SetWindowPos(hwnd_, nullptr, 0, 0, Scale(kDefaultWidth, dpi_), Scale(kDefaultHeight, dpi_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

void GraphWindow::ApplyDpi(int dpi) {
  font_ = MakeTextFont(texts::kMainFont, dpi);
  dpi_ = dpi;
}

void GraphWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  ApplyDpi(dpi);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
               Extent(suggested.left, suggested.right), Extent(suggested.top, suggested.bottom),
               SWP_NOZORDER | SWP_NOACTIVATE);
  // Laid out again at the paint, also when the size stayed.
  InvalidateRect(hwnd_, nullptr, FALSE);
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
    case WM_CREATE:
      ApplyDpi(WindowDpi(hwnd_));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(DpiOfChange(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
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
      const int least = Scale(kMinGraphSize, dpi_);
      info->ptMinTrackSize = {least, least};
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
  Canvas c = {dc, end - kHistorySpan, end, GraphSizesAt(dpi_), TextSize(dc, "0").cy,
              TextSize(dc, kTimeLabelRoom).cx, {}, {}};
  const GraphLayout layout = LayOutGraph(width, height, c.lineHeight,
                                         TextSize(dc, kValueLabelRoom).cx, c.timeLabelWidth,
                                         c.sizes);
  c.memory = layout.memory;
  c.battery = layout.battery;
  const std::vector<HistorySample> samples = history_.Samples(end);

  const std::uint32_t limit = static_cast<std::uint32_t>(MonitorSettings.MemoryLimit);
  const std::int64_t maxMB =
      MemoryAxisMax(samples, limit, Sys().memory->Physical().totalBytes >> 20);
  const ValueAxis memoryAxis = ChooseValueAxis(maxMB, c.memory.bottom - c.memory.top, c.lineHeight);

  // In this order: the sleeps cover the grids and the battery's fill, and
  // the frames go over everything.
  DrawTimeAxis(c);
  DrawValueGrid(c, c.memory, memoryAxis);
  DrawBattery(c, samples);
  DrawSleeps(c, history_.Sleeps(end));
  DrawMemory(c, samples, memoryAxis, limit);
  DrawFramesAndTitles(c);

  BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}
