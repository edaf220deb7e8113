#include "settings/settings_dialog_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "app/texts.h"
#include "platform/win32/win32_dpi.h"
#include "settings/settings_layout.h"

namespace {

constexpr char kContainerClass[] = "TessarilContainer";
constexpr UINT kRegainActivation = WM_APP + 1;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;

bool IsForwarded(UINT message) {
  return message == WM_COMMAND || message == WM_NOTIFY || message == WM_CTLCOLORSTATIC ||
         message == WM_CTLCOLOREDIT || message == WM_CTLCOLORBTN;
}

// Pages, panels and group boxes hold controls; their notifications and
// colour questions go to the dialog, which answers them all in one place.
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsForwarded(message)) return SendMessageA(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK GroupBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
  if (IsForwarded(message)) return SendMessageA(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
  if (message == WM_ERASEBKGND) {
    // The frame is drawn over the face colour; nothing else paints the
    // inside of a box that holds controls.
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance, WNDPROC dialogProc) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = dialogProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = texts::kSettingsWindowClass;
  RegisterClassA(&wc);

  wc.lpfnWndProc = ContainerProc;
  wc.lpszClassName = kContainerClass;
  RegisterClassA(&wc);
}

struct NativeKind {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

NativeKind NativeKindOf(ControlKind kind) {
  constexpr DWORD focusable = WS_TABSTOP | WS_GROUP;
  switch (kind) {
    case ControlKind::PageControl:
      return {WC_TABCONTROLA, WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0};
    case ControlKind::TabSheet:
    case ControlKind::Panel:
      return {kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::GroupBox:
      return {"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::Label:
      return {"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::Edit:
      return {"EDIT", ES_AUTOHSCROLL | focusable, WS_EX_CLIENTEDGE};
    case ControlKind::CheckBox:
      return {"BUTTON", BS_AUTOCHECKBOX | focusable, 0};
    case ControlKind::Button:
      return {"BUTTON", BS_PUSHBUTTON | focusable, 0};
  }
  return {"STATIC", 0, 0};
}

struct DisabledWindows {
  HWND except;
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<DisabledWindows*>(param);
  if (hwnd != state->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    EnableWindow(hwnd, FALSE);
    state->windows.push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

SettingsDialog::SettingsDialog() = default;

SettingsDialog::~SettingsDialog() { Destroy(); }

void SettingsDialog::Create(HINSTANCE instance, HWND owner, HWND centreOver) {
  RegisterClasses(instance, WindowProc);
  centreOver_ = centreOver;

  form_ = std::make_unique<TForm2>(Form2Controls{*this, edMemLimit_, edSavePath_, edWavePower_,
                                                 edWaveRes_, cbSaveLog_, cbDateLog_, cbWavePower_,
                                                 cbWaveRes_, btnSavePath_, btnWavePower_,
                                                 btnWaveRes_, label1_, cbSuspendLog_,
                                                 edBatteryLimit_, cbTopPrograms_, cbAlertOnce_});

  // Sized once its monitor, and so its DPI, is known.
  CreateWindowExA(kDialogExStyle, texts::kSettingsWindowClass, texts::kSettingsCaption,
                  kDialogStyle, 0, 0, 0, 0, owner, nullptr, instance, this);

  // A fixed dialog frame: the system menu offers only Move and Close.
  HMENU system = GetSystemMenu(hwnd_, FALSE);
  for (UINT command : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE})
    DeleteMenu(system, command, MF_BYCOMMAND);

  CreateControls(instance);
  const int dpi = WindowDpi(hwnd_);
  const SIZE frame = FrameSize(dpi);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDpi(dpi);
  tabSequence_ = TabSequence(SettingsControls());
}

void SettingsDialog::CreateControls(HINSTANCE instance) {
  for (const ControlDesign& design : SettingsControls()) {
    const HWND parent = design.parent == kNoControl ? hwnd_ : controls_.at(design.parent);
    const NativeKind native = NativeKindOf(design.kind);
    if (design.kind == ControlKind::TabSheet) {
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<char*>(design.caption);
      const LRESULT index = SendMessageA(parent, TCM_GETITEMCOUNT, 0, 0);
      SendMessageA(parent, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
      pages_.push_back(design.id);
    }
    const char* caption = design.kind == ControlKind::TabSheet ? "" : design.caption;
    // Placed by ApplyDpi.
    HWND control = CreateWindowExA(native.exStyle, native.className, caption,
                                   WS_CHILD | WS_VISIBLE | native.style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance,
                                   nullptr);
    if (design.kind == ControlKind::GroupBox) SetWindowSubclass(control, GroupBoxProc, 0, 0);
    controls_[design.id] = control;
  }

  edMemLimit_.Attach(Control(kEdMemLimit));
  edSavePath_.Attach(Control(kEdSavePath));
  edWavePower_.Attach(Control(kEdWavePower));
  edWaveRes_.Attach(Control(kEdWaveRes));
  cbSaveLog_.Attach(Control(kCbSaveLog));
  cbDateLog_.Attach(Control(kCbDateLog));
  cbWavePower_.Attach(Control(kCbWavePower));
  cbWaveRes_.Attach(Control(kCbWaveRes));
  btnSavePath_.Attach(Control(kBtnSavePath));
  btnWavePower_.Attach(Control(kBtnWavePower));
  btnWaveRes_.Attach(Control(kBtnWaveRes));
  label1_.Attach(Control(kLabel1));
  cbSuspendLog_.Attach(Control(kCbSuspendLog));
  edBatteryLimit_.Attach(Control(kEdBatteryLimit));
  cbTopPrograms_.Attach(Control(kCbTopPrograms));
  cbAlertOnce_.Attach(Control(kCbAlertOnce));
  ShowPage(0);
}

void SettingsDialog::ApplyDpi(int dpi) {
  SetFonts(dpi);
  PlaceControls(dpi);
  label1_.FitToText();
}

SIZE SettingsDialog::FrameSize(int dpi) const {
  return FrameSizeForClient({Scale(kSettingsClientWidth, dpi), Scale(kSettingsClientHeight, dpi)},
                            kDialogStyle, kDialogExStyle, dpi);
}

void SettingsDialog::SetFonts(int dpi) {
  OwnedFont font = MakeTextFont(texts::kMainFont, dpi);
  OwnedFont bold = MakeTextFont(texts::kMainFont, dpi, FW_BOLD);
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  for (const auto& [id, control] : controls_) {
    const HFONT chosen = id == kLabel1 ? bold.get() : font.get();
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
  }
  font_ = std::move(font);
  boldFont_ = std::move(bold);
}

void SettingsDialog::PlaceControls(int dpi) {
  for (const ControlDesign& design : SettingsControls()) {
    const HWND control = Control(design.id);
    RECT place = {Scale(design.left, dpi), Scale(design.top, dpi), 0, 0};
    place.right = place.left + Scale(design.width, dpi);
    place.bottom = place.top + Scale(design.height, dpi);
    if (design.kind == ControlKind::TabSheet) {
      // The page fills the display area, which the page control reckons
      // from its own size and font.
      const HWND tabs = GetParent(control);
      GetClientRect(tabs, &place);
      SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&place));
    }
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (design.id == kLabel1) flags |= SWP_NOSIZE;  // sized to its text
    SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, flags);
  }
}

void SettingsDialog::OnDpiChanged(int dpi, const RECT& suggested) {
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDpi(dpi);
}

void SettingsDialog::ShowPage(int index) {
  for (int i = 0; i < static_cast<int>(pages_.size()); ++i)
    ShowWindow(Control(pages_[i]), i == index ? SW_SHOW : SW_HIDE);
  // A focus left on the hidden page goes to the tabs.
  const HWND focus = GetFocus();
  if (focus != nullptr && IsChild(hwnd_, focus) && !IsWindowVisible(focus))
    FocusControl(Control(kPageControl1));
}

void SettingsDialog::NextPage(bool backwards) {
  const int count = static_cast<int>(pages_.size());
  const HWND tabs = Control(kPageControl1);
  const int current = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
  const int next = ((current + (backwards ? -1 : 1)) % count + count) % count;
  SendMessageA(tabs, TCM_SETCURSEL, next, 0);
  ShowPage(next);
}

HWND SettingsDialog::Control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

bool SettingsDialog::Visible() { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }

void SettingsDialog::PlaceFirstTime() {
  if (placed_) return;
  placed_ = true;
  CentreOverOwner();
  // Moved to a monitor of another scale, it took the size of that scale:
  // centred again with that size.
  CentreOverOwner();
}

void SettingsDialog::CentreOverOwner() {
  RECT over = {}, self = {};
  GetWindowRect(centreOver_, &over);
  GetWindowRect(hwnd_, &self);
  const LONG width = self.right - self.left, height = self.bottom - self.top;
  LONG left = over.left + (over.right - over.left - width) / 2;
  LONG top = over.top + (over.bottom - over.top - height) / 2;
  // Centred over a main window near a screen edge, the caption would be out
  // of reach: keep the whole dialog on the main window's monitor.
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromRect(&over, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    left = std::max(work.left, std::min(left, work.right - width));
    top = std::max(work.top, std::min(top, work.bottom - height));
  }
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SettingsDialog::RunModal() {
  PlaceFirstTime();
  DisabledWindows disabled{hwnd_, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
  // A box modal to every window of the program disabled this one too while
  // it was hidden; opened from the tray above such a box, it must take input.
  EnableWindow(hwnd_, TRUE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  FocusControl(lastFocus_ != nullptr && IsWindowEnabled(lastFocus_) ? lastFocus_
                                                                     : Control(tabSequence_[0]));

  bool closed = true;
  modal_ = true;
  MSG msg;
  while (modal_) {
    if (hwnd_ == nullptr) {  // destroyed with its owner
      closed = false;
      break;
    }
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the outer loop must see the quit request too.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      closed = false;
      break;
    }
    if (PreTranslate(msg)) continue;
    if (hwnd_ != nullptr && IsDialogMessageA(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  modal_ = false;

  if (hwnd_ != nullptr) {
    const HWND focus = FocusedControl();
    if (focus != nullptr) lastFocus_ = focus;
  }
  // Enabled again before the dialog hides, so that activation returns to
  // the window the user came from.
  for (HWND window : disabled.windows)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_HIDE);
  return closed;
}

void SettingsDialog::Hide() {
  if (modal_)
    modal_ = false;  // the modal loop hides the window as it ends
  else if (hwnd_ != nullptr)
    ShowWindow(hwnd_, SW_HIDE);
}

void SettingsDialog::ShowControl(Edit& control) {
  HWND edit = nullptr;
  for (Win32Edit* e : {&edMemLimit_, &edSavePath_, &edWavePower_, &edWaveRes_, &edBatteryLimit_})
    if (e == &control) edit = e->hwnd();
  for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
    if (edit == nullptr || !IsChild(Control(pages_[i]), edit)) continue;
    SendMessageA(Control(kPageControl1), TCM_SETCURSEL, i, 0);
    ShowPage(i);
    FocusControl(edit);
  }
}

HWND SettingsDialog::FocusedControl() const {
  const HWND focus = GetFocus();
  return focus != nullptr && IsChild(hwnd_, focus) ? focus : nullptr;
}

void SettingsDialog::FocusControl(HWND control) {
  if (control == nullptr) return;
  SetFocus(control);
  // As the system's dialogs do: an edit entered by the keyboard is selected.
  if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
    SendMessageA(control, EM_SETSEL, 0, -1);
}

void SettingsDialog::MoveFocus(bool backwards) {
  const int count = static_cast<int>(tabSequence_.size());
  const HWND focus = FocusedControl();
  int current = -1;
  for (int i = 0; i < count; ++i)
    if (Control(tabSequence_[i]) == focus) current = i;
  if (current < 0) current = backwards ? 0 : count - 1;
  for (int step = 1; step <= count; ++step) {
    const int next = ((current + (backwards ? -step : step)) % count + count) % count;
    const HWND candidate = Control(tabSequence_[next]);
    if (IsWindowEnabled(candidate) && IsWindowVisible(candidate)) {
      FocusControl(candidate);
      return;
    }
  }
}

bool SettingsDialog::PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || hwnd_ == nullptr) return false;
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  switch (msg.wParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) < 0)
        NextPage(GetKeyState(VK_SHIFT) < 0);
      else
        MoveFocus(GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_RETURN: {
      // No default button: Enter clicks only a push button that has the focus.
      const HWND focus = FocusedControl();
      if (focus != nullptr && (SendMessageA(focus, WM_GETDLGCODE, 0, 0) &
                               (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
        SendMessageA(focus, BM_CLICK, 0, 0);
      return true;
    }
    case VK_ESCAPE:  // no cancel button
      return true;
  }
  return false;
}

void SettingsDialog::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kCbSaveLog: Guarded([&] { form_->cbSaveLogClick(); }); break;
    case kCbWavePower: Guarded([&] { form_->cbWavePowerClick(); }); break;
    case kCbWaveRes: Guarded([&] { form_->cbWaveResClick(); }); break;
    case kBtnSavePath: Guarded([&] { form_->Button2Click(); }); break;
    case kBtnWavePower:
    case kBtnWaveRes: {
      const int tag = DesignedControl(id).tag;
      Guarded([&] { form_->btnWavePowerClick(tag); });
      break;
    }
    case kButton1:
      Guarded([&] { form_->Button1Click(); });
      RegainActivation();
      break;
  }
}

void SettingsDialog::RegainActivation() {
  // A task-modal message box re-enables the program's windows only after it
  // has gone, so the system may have activated some other window, or none:
  // once the messages of that change are through, a refused close hands the
  // keyboard back to the dialog.
  PostMessageA(hwnd_, kRegainActivation, 0, 0);
}

void SettingsDialog::OnRegainActivation() {
  if (!modal_ || !IsWindowVisible(hwnd_)) return;
  // Never taken from another program: only from the desktop or from no one.
  const HWND foreground = GetForegroundWindow();
  if (foreground != hwnd_ &&
      (foreground == nullptr || foreground == GetDesktopWindow() ||
       GetWindowThreadProcessId(foreground, nullptr) == GetCurrentThreadId()))
    SetForegroundWindow(hwnd_);
  if (FocusedControl() == nullptr)
    FocusControl(lastFocus_ != nullptr && IsWindowEnabled(lastFocus_) ? lastFocus_
                                                                     : Control(tabSequence_[0]));
}

LRESULT SettingsDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == kPageControl1 && header->code == TCN_SELCHANGE)
        ShowPage(static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      if (reinterpret_cast<HWND>(lParam) == Control(kLabel1))
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
      // Focus comes back to where it was when the user returns to the dialog.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = FocusedControl();
        if (focus != nullptr) lastFocus_ = focus;
      } else if (lastFocus_ != nullptr && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
      }
      return 0;
    case WM_CLOSE:
      Guarded([&] { form_->Close(); });
      RegainActivation();
      return 0;
    case WM_ENABLE:
      // Enabled again after a task-modal box: see RegainActivation.
      if (wParam) RegainActivation();
      return 0;
    case kRegainActivation:
      OnRegainActivation();
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(DpiOfChange(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kGetDpiScaledSize: {
      // The fixed client area, exactly, rather than the frame scaled as a whole.
      *reinterpret_cast<SIZE*>(lParam) = FrameSize(static_cast<int>(wParam));
      return TRUE;
    }
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}
