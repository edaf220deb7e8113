#include "shell/main_window_win32.h"

#include <exception>
#include <string>
#include <vector>

#include "app/error.h"
#include "app/texts.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_system.h"
#include "shell/tray_icon.h"
#include "shell/window_bounds.h"

namespace {
constexpr int kMemoId = 1;
constexpr UINT_PTR kTimer1Id = 1;
constexpr UINT_PTR kMemoFlushTimerId = 2;
constexpr UINT_PTR kHistoryTimerId = 3;
constexpr UINT_PTR kWakeReasonTimerId = 4;
constexpr UINT kHistoryIntervalMs = 60 * 1000;
constexpr UINT kShowBatteryWarning = WM_APP + 0x20;

// Messages through which a user or another program reads or copies the
// list: pending lines go in before the edit control answers them.
bool ReadsMemo(UINT message) {
  return message == WM_GETTEXT || message == WM_GETTEXTLENGTH || message == WM_COPY ||
         message == WM_CONTEXTMENU || (message >= EM_GETSEL && message <= EM_GETIMESTATUS) ||
         (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

// The one main window of the thread, for the window-creation hook.
MainWindow* hookedWindow = nullptr;
}  // namespace

MainWindow::MainWindow() : wakeTimer_(hwnd_, kWakeReasonTimerId) {}

MainWindow::~MainWindow() { Destroy(); }

void MainWindow::Create(HINSTANCE instance, HWND owner) {
  instance_ = instance;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconA(instance, "MAINICON");
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = texts::kMainWindowClass;
  RegisterClassA(&wc);

  form_ = std::make_unique<TForm1>(*this, *this, *this);
  form_->Samples = history_.get();
  CreateWindowExA(0, texts::kMainWindowClass, texts::kMainWindowCaption, WS_OVERLAPPEDWINDOW,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                  CreateMainMenu1(), instance, this);
  Guarded([&] { form_->FormCreate(); });
}

HMENU MainWindow::CreateMainMenu1() {
  // The file menu offers what the icon's menu offers.
  HMENU file = CreatePopupMenuOf(PopupMenu1Items());
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), texts::kMenuFile);
  return bar;
}

RECT MainWindow::Bounds() {
  RECT bounds = {};
  if (IsIconic(hwnd_)) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd_, &placement);
    return placement.rcNormalPosition;
  }
  GetWindowRect(hwnd_, &bounds);
  return bounds;
}

void MainWindow::SetBounds(const RECT& bounds) {
  applyingBounds_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{applyingBounds_};
  if (IsIconic(hwnd_)) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd_, &placement);
    placement.rcNormalPosition = bounds;
    placement.showCmd = IsWindowVisible(hwnd_) ? SW_SHOWMINNOACTIVE : SW_HIDE;
    SetWindowPlacement(hwnd_, &placement);
    return;
  }
  SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, Extent(bounds.left, bounds.right),
               Extent(bounds.top, bounds.bottom), SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {
Edges ToEdges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const Edges& e) { return {e.left, e.top, e.right, e.bottom}; }
}  // namespace

std::int32_t MainWindow::Width() {
  const RECT r = Bounds();
  return Extent(r.left, r.right);
}
std::int32_t MainWindow::Height() {
  const RECT r = Bounds();
  return Extent(r.top, r.bottom);
}
void MainWindow::SetLeft(std::int32_t value) {
  SetBounds(ToRect(WithLeft(ToEdges(Bounds()), value)));
}
void MainWindow::SetTop(std::int32_t value) {
  SetBounds(ToRect(WithTop(ToEdges(Bounds()), value)));
}
void MainWindow::SetWidth(std::int32_t value) {
  SetBounds(ToRect(WithWidth(ToEdges(Bounds()), value)));
}
void MainWindow::SetHeight(std::int32_t value) {
  SetBounds(ToRect(WithHeight(ToEdges(Bounds()), value)));
}

void MainWindow::DefaultHandler(TMessage& message) {
  message.Result = DefWindowProcA(hwnd_, message.Msg, message.WParam, message.LParam);
}

void MainWindow::ShowNative(int showCommand) { ShowWindow(hwnd_, showCommand); }

WindowId MainWindow::CreateTrayWindow() {
  trayWindow_ = std::make_unique<TrayWindow>(*form_);
  return reinterpret_cast<WindowId>(trayWindow_->Create(instance_));
}

void MainWindow::DestroyTrayWindow() { trayWindow_.reset(); }

void MainWindow::PostBatteryWarning(std::int32_t limit, std::uint8_t percent) {
  PostMessageA(hwnd_, kShowBatteryWarning, static_cast<WPARAM>(percent), static_cast<LPARAM>(limit));
}

void MainWindow::AppendLine(const std::string& line) {
  switch (memoBatch_.Add(line, GetTickCount(), IsWindowVisible(hwnd_) != FALSE)) {
    case MemoBatch::Due::kNow:
      FlushMemoReported();
      break;
    case MemoBatch::Due::kStartTimer:
      SetTimer(hwnd_, kMemoFlushTimerId, kMemoHoldMs, nullptr);
      break;
    case MemoBatch::Due::kLater:
      break;
  }
}

void MainWindow::FlushMemo() {
  if (memoBatch_.Empty()) return;
  // The timer goes first, so a failure is reported once. The text is
  // converted before it is taken, so a failure keeps the lines for the next
  // flush, and taken before the messages below, which pass through MemoProc
  // again. Through the wide messages the text already listed is never
  // converted.
  KillTimer(hwnd_, kMemoFlushTimerId);
  const std::vector<wchar_t> text = WideText(memoBatch_.Text());
  const std::string taken = memoBatch_.Take(GetTickCount());
  const LRESULT end = SendMessageW(memo_, WM_GETTEXTLENGTH, 0, 0);
  SendMessageW(memo_, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(memo_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.data()));
  // EM_REPLACESEL tells nothing: a control out of memory leaves its text
  // as it was, and the lines go back for the next flush.
  if (SendMessageW(memo_, WM_GETTEXTLENGTH, 0, 0) != end) {
    memoBatch_.Appended();
    return;
  }
  memoBatch_.PutBack(taken);
  throw AppError(texts::kListAppendFailed);
}

void MainWindow::FlushMemoReported() {
  try {
    FlushMemo();
  } catch (const std::exception& error) {
    if (memoBatch_.FirstFailure()) Application->ShowException(error);
  }
}

LRESULT CALLBACK MainWindow::MemoProc(HWND memo, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(memo, GWLP_USERDATA));
  if (ReadsMemo(message)) self->FlushMemoReported();
  return CallWindowProcW(self->memoProc_, memo, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  // A new top-level window is a modal box or dialog opening: the lines of
  // the events before it are listed before it shows.
  // A failure is not reported from here, where the report's own box would
  // come back to this hook: the lines stay for the next flush.
  if (code == HCBT_CREATEWND && hookedWindow != nullptr) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
    try {
      if ((create->lpcs->style & WS_CHILD) == 0) hookedWindow->FlushMemo();
    } catch (const std::exception&) {
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool MainWindow::Start(std::uint32_t intervalMs) {
  return SetTimer(hwnd_, kTimer1Id, intervalMs, nullptr) != 0;
}

void MainWindow::Stop() { KillTimer(hwnd_, kTimer1Id); }

void MainWindow::LayoutMemo() {
  RECT client;
  GetClientRect(hwnd_, &client);
  MoveWindow(memo_, 0, 0, client.right, client.bottom, TRUE);
}

void MainWindow::SetMemoFont(int dpi) {
  OwnedFont font = MakeTextFont(texts::kMemoFont, dpi, FW_NORMAL, FIXED_PITCH | FF_MODERN);
  SendMessageA(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  memoFont_ = std::move(font);
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  if (!applyingBounds_)
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top,
                 Extent(suggested.left, suggested.right), Extent(suggested.top, suggested.bottom),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  SetMemoFont(dpi);
  LayoutMemo();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (form_->IsTaskbarCreated(message)) {
    // The shell restarted and lost every icon: add ours again, or a program
    // parked in the tray could no longer be reached.
    Guarded([&] { form_->CreateTaskBarIcon(); });
    return 0;
  }
  switch (message) {
    case WM_CREATE: {
      // A Unicode control: positions count characters, not bytes.
      memo_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                                  ES_READONLY | ES_AUTOVSCROLL,
                              0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(kMemoId),
                              reinterpret_cast<CREATESTRUCTA*>(lParam)->hInstance, nullptr);
      // The list grows for months: lift the edit control's default limit,
      // past which appended text would silently be dropped.
      SendMessageA(memo_, EM_SETLIMITTEXT, 0, 0);
      SetMemoFont(WindowDpi(hwnd_));
      SetWindowLongPtrW(memo_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      memoProc_ = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(memo_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MemoProc)));
      hookedWindow = this;
      creationHook_ = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
      LayoutMemo();
      Guarded([&] { RecordSample(*history_); });
      SetTimer(hwnd_, kHistoryTimerId, kHistoryIntervalMs, nullptr);
      return 0;
    }
    case WM_SHOWWINDOW:
      if (wParam) FlushMemoReported();
      break;
    case WM_DESTROY:
      FlushMemoReported();
      KillTimer(hwnd_, kMemoFlushTimerId);
      if (creationHook_ != nullptr) UnhookWindowsHookEx(creationHook_);
      creationHook_ = nullptr;
      hookedWindow = nullptr;
      // The graph window is no child of this one: it goes, keeping its
      // place, when the program does.
      graph_->Destroy();
      return 0;
    case WM_SIZE:
      LayoutMemo();
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(DpiOfChange(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      // The tray's popup makes it the foreground window even while the
      // settings dialog or a box has disabled it.
      if (LOWORD(wParam) != WA_INACTIVE && !IsWindowEnabled(hwnd_)) PassActivationLater();
      break;
    case WM_EXITMENULOOP:
      if (!IsWindowEnabled(hwnd_)) PassActivationLater();
      return 0;
    case kPassActivation:
      if (!IsWindowEnabled(hwnd_)) PassActivation();
      return 0;
    case WM_SETFOCUS:
      // The keyboard goes to the event list: arrows scroll it, Ctrl+C copies.
      SetFocus(memo_);
      return 0;
    case WM_CTLCOLORSTATIC:
      // The read-only list keeps the button-face colour.
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_POWERBROADCAST: {
      TMessage m{message, wParam, lParam, 0};
      Guarded([&] { form_->WMPowerBroadcast(m); });
      Guarded([&] { wakeReason_.PowerEvent(static_cast<std::uint32_t>(wParam)); });
      graph_->Refresh();
      return m.Result;
    }
    case kShowBatteryWarning:
      Guarded([&] {
        ShowBatteryWarning(static_cast<std::int32_t>(lParam), static_cast<std::uint8_t>(wParam));
      });
      return 0;
    case WM_TIMER:
      if (wParam == kTimer1Id) Guarded([&] { form_->Timer1Timer(); });
      if (wParam == kMemoFlushTimerId) FlushMemoReported();
      if (wParam == kWakeReasonTimerId) Guarded([&] { wakeReason_.Retry(); });
      if (wParam == kHistoryTimerId) {
        Guarded([&] { RecordSample(*history_); });
        graph_->Refresh();
      }
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && lParam == 0) {
        if (LOWORD(wParam) == kCommandSettings && !Application->LoopEnded)
          Guarded([&] { form_->O1Click(); });
        else if (LOWORD(wParam) == kCommandGraph && !Application->LoopEnded)
          Guarded([&] { graph_->Open(instance_, GetWindow(hwnd_, GW_OWNER)); });
        else if (LOWORD(wParam) == kCommandExit)
          Guarded([&] { form_->X1Click(); });
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        // The minimise goes to the application window: the program parks.
        Guarded([] { Application->Minimize(); });
        return 0;
      }
      break;
    case WM_CLOSE:
      Guarded([&] { form_->Close(); });
      return 0;
    case WM_QUERYENDSESSION: {
      // Once the exit steps have begun the settings dialog is gone and the
      // program is ending anyway: nothing to save, nothing to veto.
      if (Application->LoopEnded) return TRUE;
      // Saves the settings; a save that fails is shown and vetoes the log-off.
      bool canClose = true;
      try {
        form_->FormCloseQuery(canClose);
      } catch (const std::exception& error) {
        Application->ShowException(error);
        canClose = false;
      }
      return canClose ? TRUE : FALSE;
    }
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}
