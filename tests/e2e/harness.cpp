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

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + " (error " + std::to_string(GetLastError()) + ")");
}

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

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string NewFolder() {
  char temp[MAX_PATH];
  if (GetTempPathA(MAX_PATH, temp) == 0) Fail("GetTempPathA");
  static int counter = 0;
  char name[64];
  std::snprintf(name, sizeof name, "tessaril_e2e_%lu_%d", GetCurrentProcessId(), ++counter);
  const std::string folder = std::string(temp) + name;
  if (!CreateDirectoryA(folder.c_str(), nullptr)) Fail("cannot create " + folder);
  return folder;
}

void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string file = folder + "\\" + data.cFileName;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(file.c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

// A job that kills the program when the last handle to it closes: if the
// test driver itself is killed (a ctest timeout), no orphan keeps running
// and holding the single-instance mutex for the next test.
HANDLE NewKillOnCloseJob() {
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (job == nullptr) Fail("CreateJobObjectA");
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    CloseHandle(job);
    Fail("SetInformationJobObject");
  }
  return job;
}

}  // namespace

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  // A new Wine prefix maps the Unix root to drive Z:.
  std::string result = "Z:" + path;
  for (char& c : result)
    if (c == '/') c = '\\';
  return result;
}

TessarilProcess::TessarilProcess() {
  const char* exe = std::getenv("TESSARIL_EXE");
  if (exe == nullptr || *exe == '\0') throw std::runtime_error("TESSARIL_EXE is not set");
  folder_ = NewFolder();
  exePath_ = FilePath(BaseName(exe));
  if (!CopyFileA(WindowsPath(exe).c_str(), exePath_.c_str(), TRUE)) {
    const DWORD error = GetLastError();
    RemoveFolder(folder_);
    SetLastError(error);
    Fail(std::string("cannot copy ") + exe);
  }
}

TessarilProcess::~TessarilProcess() {
  Kill();
  if (process_ != nullptr) CloseHandle(process_);
  if (job_ != nullptr) CloseHandle(job_);
  RemoveFolder(folder_);
}

void TessarilProcess::Start(const LaunchOptions& options) {
  if (process_ != nullptr) throw std::logic_error("TessarilProcess started twice");
  if (options.ini) WriteFile("Tessaril.ini", *options.ini);

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
  const std::string path = FilePath(name);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    Fail("cannot open " + path);
  }
  std::string bytes;
  char buffer[4096];
  DWORD count = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0)
    bytes.append(buffer, count);
  CloseHandle(file);
  return bytes;
}

void TessarilProcess::WriteFile(const std::string& name, const std::string& bytes) const {
  const std::string path = FilePath(name);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot create " + path);
  DWORD count = 0;
  const BOOL ok =
      ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
  CloseHandle(file);
  if (!ok || count != bytes.size()) Fail("cannot write " + path);
}

std::string WindowText(HWND window) {
  DWORD_PTR length = 0;
  const UINT timeout = static_cast<UINT>(kReplyTimeout.count());
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeout, &length))
    Fail("no reply to WM_GETTEXTLENGTH");
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                           SMTO_ABORTIFHUNG, timeout, &copied))
    Fail("no reply to WM_GETTEXT");
  text.resize(copied);
  return text;
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

  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) Fail("cannot create " + path);
  DWORD count = 0;
  const BOOL ok = ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
  CloseHandle(out);
  if (!ok || count != bytes.size()) Fail("cannot write " + path);
}

std::string TessarilProcess::ScreenshotPath(const std::string& name) const {
  DWORD type = 0;
  const char* bits = GetBinaryTypeA(exePath_.c_str(), &type) && type == SCS_32BIT_BINARY
                         ? ".win32.bmp"
                         : ".win64.bmp";
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

HWND ChildWithId(HWND parent, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (GetDlgCtrlID(child) != s->id) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}
