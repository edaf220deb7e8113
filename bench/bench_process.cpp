#include "bench/bench_process.h"

#include <stdexcept>

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 10000;
// Fine enough for the start-up figure, which is hundreds of milliseconds.
constexpr DWORD kPollMs = 5;

struct WindowSearch {
  DWORD processId;
  const char* windowClass;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner != search.processId || lstrcmpA(name, search.windowClass) != 0) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

LONGLONG Ticks() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double Seconds(LONGLONG ticks) {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  return static_cast<double>(ticks) / static_cast<double>(frequency);
}

BenchProcess::BenchProcess(const std::string& exe, const std::string& windowClass)
    : folder_(NewScratchFolder("tessaril_bench")), windowClass_(windowClass) {
  exePath_ = FilePath(BaseName(exe));
  if (!CopyFileA(WindowsPath(exe).c_str(), exePath_.c_str(), TRUE)) {
    const DWORD error = GetLastError();
    RemoveScratchFolder(folder_);
    SetLastError(error);
    Fail("cannot copy " + exe);
  }
}

BenchProcess::~BenchProcess() {
  if (process_ != nullptr) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kExitTimeoutMs);
    CloseHandle(process_);
  }
  if (job_ != nullptr) CloseHandle(job_);
  RemoveScratchFolder(folder_);
}

void BenchProcess::Start(const std::string& ini, const std::string& arguments,
                         const std::function<bool(HWND)>& ready) {
  if (!ini.empty()) WriteWholeFile(FilePath("Tessaril.ini"), ini);
  job_ = NewKillOnCloseJob();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + exePath_ + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  PROCESS_INFORMATION info = {};
  startTicks_ = Ticks();
  // Suspended until it is in the job, so nothing it starts escapes the job.
  if (!CreateProcessA(exePath_.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED, nullptr, folder_.c_str(), &startup, &info))
    Fail("cannot start " + exePath_);
  process_ = info.hProcess;
  const bool inJob = AssignProcessToJobObject(job_, process_);
  ResumeThread(info.hThread);
  CloseHandle(info.hThread);
  if (!inJob) Fail("AssignProcessToJobObject");

  // The window shows only after the start sequence (settings loaded, start
  // line logged); it may exist well before, and the loop go idle too.
  WindowSearch search{info.dwProcessId, windowClass_.c_str(), nullptr};
  for (DWORD waited = 0; search.found == nullptr || !ready(search.found); waited += kPollMs) {
    if (waited >= kStartTimeoutMs || WaitForSingleObject(process_, 0) != WAIT_TIMEOUT)
      throw std::runtime_error(exePath_ + ": no " + windowClass_ + " window ready");
    Sleep(kPollMs);
    search.found = nullptr;
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  }
  readyTicks_ = Ticks();
  mainWindow_ = search.found;
  // A reply means the loop runs again and the program's other windows exist.
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutA(mainWindow_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kStartTimeoutMs, &reply))
    Fail(exePath_ + " did not answer after its start");
}

std::string BenchProcess::ReadFile(const std::string& name) const {
  return ReadWholeFile(FilePath(name)).value_or(std::string());
}
