#include "bench/bench_process.h"

#include <cstdio>
#include <stdexcept>

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr DWORD kPollMs = 20;

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string NewFolder() {
  char temp[MAX_PATH];
  if (GetTempPathA(MAX_PATH, temp) == 0) Fail("GetTempPathA");
  static int counter = 0;
  char name[64];
  std::snprintf(name, sizeof name, "tessaril_bench_%lu_%d", GetCurrentProcessId(), ++counter);
  const std::string folder = std::string(temp) + name;
  if (!CreateDirectoryA(folder.c_str(), nullptr)) Fail("cannot create " + folder);
  return folder;
}

void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      DeleteFileA((folder + "\\" + data.cFileName).c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot create " + path);
  DWORD count = 0;
  const BOOL ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
  CloseHandle(file);
  if (!ok || count != bytes.size()) Fail("cannot write " + path);
}

// A job that kills the program when the driver's handle closes, so an
// interrupted run leaves no instance holding the single-instance mutex.
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

void Fail(const std::string& what) {
  throw std::runtime_error(what + " (error " + std::to_string(GetLastError()) + ")");
}

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

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string result = "Z:" + path;
  for (char& c : result)
    if (c == '/') c = '\\';
  return result;
}

BenchProcess::BenchProcess(const std::string& exe, const std::string& windowClass)
    : folder_(NewFolder()), windowClass_(windowClass) {
  exePath_ = FilePath(BaseName(exe));
  if (!CopyFileA(WindowsPath(exe).c_str(), exePath_.c_str(), TRUE)) {
    const DWORD error = GetLastError();
    RemoveFolder(folder_);
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
  RemoveFolder(folder_);
}

void BenchProcess::Start(const std::string& ini) {
  if (!ini.empty()) WriteWholeFile(FilePath("Tessaril.ini"), ini);
  job_ = NewKillOnCloseJob();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + exePath_ + "\"";
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
  for (DWORD waited = 0; search.found == nullptr || !IsWindowVisible(search.found);
       waited += kPollMs) {
    if (waited >= kStartTimeoutMs || WaitForSingleObject(process_, 0) != WAIT_TIMEOUT)
      throw std::runtime_error(exePath_ + ": no " + windowClass_ + " window shown");
    Sleep(kPollMs);
    search.found = nullptr;
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  }
  mainWindow_ = search.found;
  // A reply means the loop runs again and the program's other windows exist.
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutA(mainWindow_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kStartTimeoutMs, &reply))
    Fail(exePath_ + " did not answer after its start");
}

std::string BenchProcess::ReadFile(const std::string& name) const {
  HANDLE file = CreateFileA(FilePath(name).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char buffer[65536];
  DWORD count = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0)
    bytes.append(buffer, count);
  CloseHandle(file);
  return bytes;
}
