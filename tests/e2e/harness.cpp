#include "tests/e2e/harness.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace {

constexpr Timeout kPollInterval{20};
constexpr char kMainWindowClass[] = "TForm1";
constexpr char kDialogClass[] = "#32770";
constexpr int kMessageBoxTextId = 0xFFFF;

// Polls until `done` holds or the timeout passes; true when it held.
template <typename Condition>
bool PollUntil(Timeout timeout, Condition done) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// The caption as the window manager keeps it: for another process's window
// GetWindowTextA sends no message, so a busy owner cannot block it.
std::string Caption(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// What the emulator of the 32-bit exe wrote on its error output in this
// test run; empty for the 64-bit exe.
std::string EmulatorLog() {
  const char* log = std::getenv("TESSARIL_EMULATOR_LOG");
  if (log == nullptr || *log == '\0') return {};
  return ReadWholeFile(WindowsPath(log)).value_or("");
}

}  // namespace

TessarilProcess::TessarilProcess() {
  const char* exe = std::getenv("TESSARIL_EXE");
  if (exe == nullptr || *exe == '\0') throw std::runtime_error("TESSARIL_EXE is not set");
  folder_ = NewScratchFolder("tessaril_e2e");
  exePath_ = FilePath(BaseName(exe));
  if (!CopyFileA(WindowsPath(exe).c_str(), exePath_.c_str(), TRUE)) {
    const DWORD error = GetLastError();
    RemoveScratchFolder(folder_);
    SetLastError(error);
    Fail(std::string("cannot copy ") + exe);
  }
}

TessarilProcess::~TessarilProcess() {
  Kill();
  if (process_ != nullptr) CloseHandle(process_);
  if (job_ != nullptr) CloseHandle(job_);
  RemoveScratchFolder(folder_);
}

void TessarilProcess::Start(const LaunchOptions& options) {
  if (process_ != nullptr) throw std::logic_error("TessarilProcess started twice");
  if (options.ini) WriteFile("Tessaril.ini", *options.ini);

  emulatorLogStart_ = EmulatorLog().size();
  job_ = NewKillOnCloseJob();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (options.showCommand) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = *options.showCommand;
  }
  std::string commandLine = "\"" + exePath_ + "\"";
  PROCESS_INFORMATION info = {};
  // Suspended until it is in the job, so nothing it starts escapes the job.
  if (!CreateProcessA(exePath_.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED, nullptr, folder_.c_str(), &startup, &info))
    Fail("cannot start " + exePath_);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  const bool inJob = AssignProcessToJobObject(job_, process_);
  const DWORD jobError = GetLastError();
  ResumeThread(info.hThread);
  CloseHandle(info.hThread);
  if (!inJob) {
    SetLastError(jobError);
    Fail("AssignProcessToJobObject");
  }
  if (options.wait == StartWait::kNothing) return;

  // The window is shown only after the start sequence, which processes
  // pending messages: an idle process alone does not mean it is done.
  const bool shown = options.wait == StartWait::kMainWindowShown;
  HWND window = nullptr;
  PollUntil(kStartTimeout, [&] {
    for (HWND w : WindowsOfProcess())
      if (ClassName(w) == kMainWindowClass) window = w;
    return (window != nullptr && (!shown || IsWindowVisible(window))) || !Running();
  });
  if (auto code = WaitForExit(Timeout{0}))
    throw std::runtime_error("the program ended with exit code " + std::to_string(*code) +
                             " during its start");
  if (window == nullptr) throw std::runtime_error("the main window did not appear in time");
  if (shown && !IsWindowVisible(window))
    throw std::runtime_error("the main window did not show in time");
  mainWindow_ = window;
  // The program makes more windows after its main one. A reply to a sent
  // message means it is handling messages again, so those exist by now.
  // WaitForInputIdle is no substitute: under Wine it can return before that.
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                           static_cast<UINT>(kStartTimeout.count()), &reply))
    Fail("the program did not answer after its start");
}

bool TessarilProcess::Running() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::string TessarilProcess::MemoText() const {
  HWND memo = FindWindowExA(mainWindow_, nullptr, "EDIT", nullptr);
  if (memo == nullptr) Fail("the main window has no EDIT control");
  return WindowText(memo);
}

LRESULT TessarilProcess::SendPowerBroadcast(WPARAM code, LPARAM data) const {
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutA(mainWindow_, WM_POWERBROADCAST, code, data, SMTO_ABORTIFHUNG,
                           static_cast<UINT>(kReplyTimeout.count()), &reply))
    Fail("no reply to WM_POWERBROADCAST " + std::to_string(code));
  return static_cast<LRESULT>(reply);
}

std::vector<HWND> TessarilProcess::WindowsOfProcess() const {
  struct Search {
    DWORD processId;
    std::vector<HWND> found;
  } search{processId_, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.processId) s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND TessarilProcess::FindDialog(const std::string& caption, Timeout timeout) const {
  HWND dialog = nullptr;
  // A dialog is created hidden and filled in before it shows: only a
  // visible one is complete.
  PollUntil(timeout, [&] {
    for (HWND window : WindowsOfProcess())
      if (ClassName(window) == kDialogClass && IsWindowVisible(window) &&
          Caption(window) == caption)
        dialog = window;
    return dialog != nullptr;
  });
  return dialog;
}

void TessarilProcess::Close() const {
  if (!PostMessageA(mainWindow_, WM_CLOSE, 0, 0)) Fail("cannot post WM_CLOSE");
}

std::optional<DWORD> TessarilProcess::WaitForExit(Timeout timeout) const {
  if (process_ == nullptr) throw std::logic_error("TessarilProcess not started");
  if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(process_, &code)) Fail("GetExitCodeProcess");
  return code;
}

void TessarilProcess::Kill() {
  if (!Running()) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, static_cast<DWORD>(kExitTimeout.count()));
}

std::optional<std::string> TessarilProcess::ReadFile(const std::string& name) const {
  return ReadWholeFile(FilePath(name));
}

void TessarilProcess::WriteFile(const std::string& name, const std::string& bytes) const {
  WriteWholeFile(FilePath(name), bytes);
}

std::string MessageBoxText(HWND dialog) {
  HWND text = GetDlgItem(dialog, kMessageBoxTextId);
  if (text == nullptr) Fail("the dialog has no message text");
  return WindowText(text);
}

void ClickButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (!PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(button)))
    Fail("cannot post the button click");
}

void SaveScreenshot(HWND window, const std::string& path) {
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (window != nullptr && !GetWindowRect(window, &area)) Fail("GetWindowRect");
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) throw std::runtime_error("nothing to capture for " + path);

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const BOOL copied =
      BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
  SelectObject(memory, old);

  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as a .bmp stores its rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::string pixels(static_cast<size_t>(stride) * height, '\0');
  const int rows = copied ? GetDIBits(memory, bitmap, 0, height, &pixels[0],
                                      reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS)
                          : 0;
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (rows != height) Fail("cannot capture the screen for " + path);

  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
  bytes += pixels;

  WriteWholeFile(path, bytes);
}

bool TessarilProcess::Is32Bit() const {
  DWORD type = 0;
  return GetBinaryTypeA(exePath_.c_str(), &type) && type == SCS_32BIT_BINARY;
}

std::optional<std::string> TessarilProcess::EmulatorCrash() const {
  const std::string log = EmulatorLog();
  const auto at = log.find("uncaught target signal", emulatorLogStart_);
  if (at == std::string::npos) return std::nullopt;
  const auto start = log.rfind('\n', at);
  const auto begin = start == std::string::npos ? 0 : start + 1;
  return log.substr(begin, log.find('\n', at) - begin);
}

std::string TessarilProcess::ScreenshotPath(const std::string& name) const {
  const char* bits = Is32Bit() ? ".win32.bmp" : ".win64.bmp";
  const char* folder = std::getenv("TESSARIL_SCREENSHOTS");
  if (folder == nullptr || *folder == '\0') return name + bits;
  const std::string dir = WindowsPath(folder);
  if (!CreateDirectoryA(dir.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    Fail("cannot create " + dir);
  return dir + "\\" + name + bits;
}

bool WaitFor(const std::function<bool()>& condition, Timeout timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(20);
  }
  return true;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

HWND WindowOfClass(const TessarilProcess& app, const std::string& className, Timeout timeout) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND window : app.WindowsOfProcess())
          if (ClassOf(window) == className) found = window;
        return found != nullptr;
      },
      timeout);
  return found;
}

HWND FindControl(HWND parent, const std::string& className, const char* caption, int nth) {
  struct Search {
    std::string className;
    const char* caption;
    int left;
    HWND found;
  } search{className, caption, nth, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, ClassOf(child).c_str(), -1,
                           s->className.c_str(), -1) != CSTR_EQUAL)
          return TRUE;
        if (s->caption != nullptr && WindowText(child) != s->caption) return TRUE;
        if (s->left-- > 0) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {

// Of `parent`'s controls of this class and caption, the one on the line of
// `control`: nearest to it from top to bottom.
HWND Beside(HWND parent, HWND control, const std::string& className, const char* caption) {
  RECT at = {};
  GetWindowRect(control, &at);
  HWND best = nullptr;
  LONG bestDistance = 0;
  for (int i = 0;; ++i) {
    HWND candidate = FindControl(parent, className, caption, i);
    if (candidate == nullptr) break;
    RECT r = {};
    GetWindowRect(candidate, &r);
    const LONG distance = std::labs((r.top + r.bottom) - (at.top + at.bottom));
    if (best == nullptr || distance < bestDistance) best = candidate, bestDistance = distance;
  }
  if (best == nullptr) throw std::runtime_error("no " + className + " beside a control");
  return best;
}

}  // namespace

SettingsControls FindSettingsControls(HWND dialog) {
  SettingsControls c = {};
  const auto find = [&](HWND parent, const char* className, const char* caption) {
    HWND found = parent == nullptr ? nullptr : FindControl(parent, className, caption);
    if (found == nullptr)
      throw std::runtime_error(std::string("the settings dialog has no ") + className + " " +
                               (caption != nullptr ? caption : ""));
    return found;
  };
  c.pageControl1 = find(dialog, "SysTabControl32", nullptr);
  c.button1 = find(dialog, "button", "&OK");
  c.panel1 = GetParent(c.button1);
  c.label1 = find(c.panel1, "static", nullptr);

  c.groupBox4 = find(dialog, "button", "リソース監視");
  c.tabSheet1 = GetParent(c.groupBox4);
  c.label2 = find(c.groupBox4, "static", "使用可能なメモリが");
  c.edMemLimit = find(c.groupBox4, "edit", nullptr);
  c.label5 = find(c.groupBox4, "static", "MB以下になったら通知する");

  c.groupBox1 = find(dialog, "button", "ログ");
  c.cbSaveLog = find(c.groupBox1, "button", "ログ出力先");
  c.edSavePath = find(c.groupBox1, "edit", nullptr);
  c.cbDateLog = find(c.groupBox1, "button", "ファイル名に年月日を付加する");
  c.btnSavePath = Beside(c.tabSheet1, c.edSavePath, "button", "...");

  c.groupBox3 = find(dialog, "button", "サウンド");
  c.cbWavePower = find(c.groupBox3, "button", "電源状態変更時");
  c.cbWaveRes = find(c.groupBox3, "button", "リソース監視時");
  c.edWavePower = Beside(c.groupBox3, c.cbWavePower, "edit", nullptr);
  c.edWaveRes = Beside(c.groupBox3, c.cbWaveRes, "edit", nullptr);
  c.btnWavePower = Beside(c.tabSheet1, c.edWavePower, "button", "...");
  c.btnWaveRes = Beside(c.tabSheet1, c.edWaveRes, "button", "...");

  c.groupBox5 = find(dialog, "button", "電源");
  c.tabSheet2 = GetParent(c.groupBox5);
  c.cbSuspendLog = find(c.groupBox5, "button", "スリープ・休止の時間を記録する");
  c.label6 = find(c.groupBox5, "static", "バッテリ残量が");
  c.edBatteryLimit = find(c.groupBox5, "edit", nullptr);
  c.label7 = find(c.groupBox5, "static", "%以下になったら通知する");

  c.groupBox6 = find(dialog, "button", "メモリ警告");
  c.cbTopPrograms = find(c.groupBox6, "button", "警告にメモリ使用量の多いプログラムを表示する");
  c.cbAlertOnce = find(c.groupBox6, "button", "メモリが回復するまで警告を繰り返さない");
  return c;
}

void TrayMenuCommand(const TessarilProcess& app, char mnemonic) {
  HWND tray = WindowOfClass(app, "TTaskTrayWnd");
  if (tray == nullptr) throw std::runtime_error("the program has no tray window");
  // The program's own shown menu: the first window of the class anywhere
  // may be a hidden one left from an earlier menu.
  HWND menu = nullptr;
  const auto shown = [&] {
    for (HWND window : app.WindowsOfProcess())
      if (ClassOf(window) == "#32768" && IsWindowVisible(window)) return (menu = window) != nullptr;
    return false;
  };
  // Under Wine a menu opened just after a window of the program went away
  // or a box closed may end at once, drawn or not (a message left from the
  // old window ends its loop); a user clicks again, and so does this. A menu
  // still open a moment after it showed waits for its key.
  constexpr int kClicks = 3;
  for (int click = 0; click < kClicks && menu == nullptr; ++click) {
    PostMessageA(tray, kTaskTray, 0, WM_RBUTTONUP);
    if (WaitFor(shown, Timeout{2000})) {
      Sleep(100);
      if (!IsWindowVisible(menu)) menu = nullptr;
    }
  }
  if (menu == nullptr) throw std::runtime_error("the tray menu did not open");
  PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(mnemonic), 0);
  if (!WaitFor([&] { return !IsWindowVisible(menu); }))
    throw std::runtime_error("the tray menu did not close");
}

HWND OpenSettings(const TessarilProcess& app) {
  HWND dialog = nullptr;
  const auto shown = [&] {
    for (HWND window : app.WindowsOfProcess())
      if (ClassOf(window) == "TForm2" && IsWindowVisible(window)) dialog = window;
    return dialog != nullptr;
  };
  // As for the graph: a menu closed unchosen is chosen from again, once the
  // dialog has had the time to show.
  TrayMenuCommand(app, 'o');
  if (!WaitFor(shown)) {
    TrayMenuCommand(app, 'o');
    WaitFor(shown, kStartTimeout);
  }
  return dialog;
}

HWND OpenGraph(const TessarilProcess& app) {
  HWND graph = nullptr;
  const auto shown = [&] {
    for (HWND window : app.WindowsOfProcess())
      if (IsWindowVisible(window) && Caption(window) == "推移グラフ") graph = window;
    return graph != nullptr;
  };
  // The focus of a window activated just before may reach the program only
  // once the menu is open and close it unchosen; a user chooses again. An
  // open graph only comes to the front, so a second choice does no harm.
  constexpr int kChoices = 3;
  for (int choice = 0; choice < kChoices && graph == nullptr; ++choice) {
    TrayMenuCommand(app, 'g');
    WaitFor(shown, choice + 1 < kChoices ? kDialogTimeout : kStartTimeout);
  }
  return graph;
}

std::string AnswerBox(const TessarilProcess& app, const std::string& caption) {
  HWND box = app.FindDialog(caption);
  if (box == nullptr) return "<no box captioned " + caption + ">";
  const std::string text = MessageBoxText(box);
  ClickButton(box, IDOK);
  return WaitFor([&] { return !IsWindowVisible(box); }) ? text : text + " <still shown>";
}

HWND Focus(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

namespace {
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kLogPixels[] = "LogPixels";
}  // namespace

ScreenDpi::ScreenDpi(DWORD dpi) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD, nullptr, &value,
                   &size) == ERROR_SUCCESS)
    previous_ = value;
  if (RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &dpi, sizeof dpi) !=
      ERROR_SUCCESS)
    throw std::runtime_error("cannot set LogPixels");
}

ScreenDpi::~ScreenDpi() {
  if (previous_)
    RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &*previous_,
                    sizeof *previous_);
  else
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kLogPixels);
}

RECT PlaceInParent(HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}
