#include "shell/main_window_win32.h"

#include "app/texts.h"
#include "platform/win32/win32_window_system.h"
#include "shell/tray_icon.h"

namespace {
constexpr int kMemoId = 1;
constexpr UINT_PTR kTimer1Id = 1;
constexpr UINT_PTR kHistoryTimerId = 3;
constexpr UINT kHistoryIntervalMs = 60 * 1000;
constexpr int kFontHeight = -12;
}  // namespace

MainWindow::MainWindow() = default;

MainWindow::~MainWindow() {
  Destroy();
  if (memoFont_ != nullptr) DeleteObject(memoFont_);
}

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
  if (IsIconic(hwnd_)) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd_, &placement);
    placement.rcNormalPosition = bounds;
    placement.showCmd = IsWindowVisible(hwnd_) ? SW_SHOWMINNOACTIVE : SW_HIDE;
    SetWindowPlacement(hwnd_, &placement);
    return;
  }
  SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetLeft(std::int32_t value) {
  RECT r = Bounds();
  SetBounds({value, r.top, value + (r.right - r.left), r.bottom});
}

void MainWindow::SetTop(std::int32_t value) {
  RECT r = Bounds();
  SetBounds({r.left, value, r.right, value + (r.bottom - r.top)});
}

void MainWindow::SetWidth(std::int32_t value) {
  RECT r = Bounds();
  SetBounds({r.left, r.top, r.left + value, r.bottom});
}

void MainWindow::SetHeight(std::int32_t value) {
  RECT r = Bounds();
  SetBounds({r.left, r.top, r.right, r.top + value});
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

void MainWindow::AppendLine(const std::string& line) {
  // Select the empty end and replace it: the cost is that of the new line,
  // however long the list has grown.
  const std::string text = line + texts::kLineEnd;
  const LRESULT length = SendMessageA(memo_, WM_GETTEXTLENGTH, 0, 0);
  SendMessageA(memo_, EM_SETSEL, static_cast<WPARAM>(length), length);
  SendMessageA(memo_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
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

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (form_->IsTaskbarCreated(message)) {
    // The shell restarted and lost every icon: add ours again, or a program
    // parked in the tray could no longer be reached.
    Guarded([&] { form_->CreateTaskBarIcon(); });
    return 0;
  }
  switch (message) {
    case WM_CREATE: {
      memo_ = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                                  ES_READONLY | ES_AUTOVSCROLL,
                              0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(kMemoId),
                              reinterpret_cast<CREATESTRUCTA*>(lParam)->hInstance, nullptr);
      // The list grows for months: lift the edit control's default limit,
      // past which appended text would silently be dropped.
      SendMessageA(memo_, EM_SETLIMITTEXT, 0, 0);
      memoFont_ = CreateFontA(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, texts::kMemoFont);
      SendMessageA(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(memoFont_), FALSE);
      LayoutMemo();
      Guarded([&] { RecordSample(*history_); });
      SetTimer(hwnd_, kHistoryTimerId, kHistoryIntervalMs, nullptr);
      return 0;
    }
    case WM_SIZE:
      LayoutMemo();
      return 0;
    case WM_CTLCOLORSTATIC:
      // The read-only list keeps the button-face colour.
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_POWERBROADCAST: {
      TMessage m{message, wParam, lParam, 0};
      Guarded([&] { form_->WMPowerBroadcast(m); });
      Guarded([&] { RecordPowerEvent(*history_, static_cast<std::uint32_t>(wParam)); });
      graph_->Refresh();
      return m.Result;
    }
    case WM_TIMER:
      if (wParam == kTimer1Id) Guarded([&] { form_->Timer1Timer(); });
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
          Guarded([&] { graph_->Open(instance_); });
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
    case WM_DESTROY:
      // The graph window is no child of this one: it goes, keeping its
      // place, when the program does.
      graph_->Destroy();
      break;
    case WM_QUERYENDSESSION: {
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
