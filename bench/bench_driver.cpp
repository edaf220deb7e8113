#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_process.h"

// Measures Tessaril against floors taken in the same run, so the figures are
// ratios in which the machine's speed and Wine's own cost cancel out.
//
// Usage: tessaril_bench TESSARIL64 FLOOR64 TESSARIL32 FLOOR32
// (the 64-bit exes run; of the 32-bit ones only the size is read).

namespace {

constexpr char kAppClass[] = "TForm1";
constexpr char kFloorClass[] = "TessarilBenchFloor";
constexpr char kLogName[] = "Tessaril.log";
constexpr char kFloorLogName[] = "floor.log";

constexpr double kFootprintDelaySeconds = 5;
constexpr DWORD kIdleMs = 120000;
constexpr int kEventCount = 5000;
constexpr int kEventRounds = 3;
constexpr int kGrowthCount = 20000;
constexpr int kGrowthBlock = 1000;
constexpr WPARAM kPowerStatusChange = 0x0A;
constexpr UINT kReplyTimeoutMs = 5000;
constexpr DWORD kPollMs = 20;

constexpr double kFootprintGoal = 1.15;
constexpr double kEventGoal = 1.3;
constexpr double kGrowthGoal = 1.5;
constexpr double kSizeGoalBytes = 300 * 1024;

constexpr double kMiB = 1024.0 * 1024.0;
constexpr double kKiB = 1024.0;

struct Memory {
  double workingSet = 0;
  double privateBytes = 0;
};

// Private bytes are the commit charge, PagefileUsage: Wine leaves
// PrivateUsage at 0 for another process.
Memory MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) Fail("GetProcessMemoryInfo");
  return {static_cast<double>(counters.WorkingSetSize),
          static_cast<double>(counters.PagefileUsage)};
}

// User plus kernel time, in seconds.
double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) Fail("GetProcessTimes");
  const auto value = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return (value(kernel) + value(user)) / 1e7;
}

double FileBytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(WindowsPath(path).c_str(), GetFileExInfoStandard, &data))
    Fail("cannot read the size of " + path);
  return static_cast<double>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) |
                             data.nFileSizeLow);
}

void SleepUntil(LONGLONG ticks) {
  const double left = Seconds(ticks - Ticks());
  if (left > 0) Sleep(static_cast<DWORD>(left * 1000));
}

LONGLONG SecondsAsTicks(double seconds) {
  return static_cast<LONGLONG>(seconds / Seconds(1));
}

// One line per figure: what was measured, its floor, the ratio and the goal.
void PrintRatio(const char* name, double value, double floor, double scale, const char* unit,
                double goal) {
  std::printf("%-22s %10.3f %-3s floor %10.3f %-3s ", name, value / scale, unit, floor / scale,
              unit);
  if (floor > 0) {
    const double ratio = value / floor;
    std::printf("ratio %6.3f", ratio);
    if (goal > 0) std::printf("  goal <= %.2f %s", goal, ratio <= goal ? "met" : "MISSED");
  } else {
    std::printf("ratio    n/a");
  }
  std::printf("\n");
  std::fflush(stdout);
}

// Minimises the program, which parks it in the tray with its window hidden:
// its state for most of its life. Under Xvfb, Wine redraws a visible event
// list's scroll bar for every line at 15-40 ms, which would measure Wine's
// drawing rather than the program.
void Park(const BenchProcess& app) {
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutA(app.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_ABORTIFHUNG,
                           kReplyTimeoutMs, &reply))
    Fail("no reply to SC_MINIMIZE");
  for (DWORD waited = 0; IsWindowVisible(app.MainWindow()); waited += kPollMs) {
    if (waited >= kReplyTimeoutMs) throw std::runtime_error("the program did not park");
    Sleep(kPollMs);
  }
}

std::string LoggingIni(const BenchProcess& app) {
  return "[main]\r\nSaveLog=1\r\nSavePath=" + app.FilePath(kLogName) + "\r\n";
}

// Sends `count` status-change broadcasts and returns the time of each block
// of `block` of them.
std::vector<double> TimeBroadcasts(const BenchProcess& app, int count, int block) {
  std::vector<double> blocks;
  LONGLONG start = Ticks();
  for (int i = 1; i <= count; ++i) {
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutA(app.MainWindow(), WM_POWERBROADCAST, kPowerStatusChange, 0,
                             SMTO_ABORTIFHUNG, kReplyTimeoutMs, &reply))
      Fail("no reply to broadcast " + std::to_string(i));
    if (i % block == 0) {
      const LONGLONG now = Ticks();
      blocks.push_back(Seconds(now - start));
      start = now;
    }
  }
  return blocks;
}

// The event list's last line with its CR LF: the bytes each broadcast adds.
std::string LastListLine(const BenchProcess& app) {
  HWND memo = FindWindowExA(app.MainWindow(), nullptr, "EDIT", nullptr);
  if (memo == nullptr) Fail("the main window has no EDIT control");
  const std::string text = WindowText(memo);
  if (text.size() < 2) throw std::runtime_error("the event list is empty");
  const size_t start = text.rfind("\r\n", text.size() - 3);
  return text.substr(start == std::string::npos ? 0 : start + 2);
}

size_t LineCount(const std::string& text) {
  size_t lines = 0;
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  return lines;
}

// The floor of an event: the log writer's own file calls, with nothing
// else. Returns the time of each block of `block` appends.
std::vector<double> TimeAppends(const std::string& path, const std::string& bytes, int count,
                                int block) {
  HANDLE created = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (created == INVALID_HANDLE_VALUE) Fail("cannot create " + path);
  CloseHandle(created);
  std::vector<double> blocks;
  LONGLONG start = Ticks();
  for (int i = 1; i <= count; ++i) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("cannot open " + path);
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) Fail("cannot write " + path);
    if (i % block == 0) {
      const LONGLONG now = Ticks();
      blocks.push_back(Seconds(now - start));
      start = now;
    }
  }
  return blocks;
}

double MedianOfFive(std::vector<double>::const_iterator from) {
  std::vector<double> five(from, from + 5);
  std::nth_element(five.begin(), five.begin() + 2, five.end());
  return five[2];
}

// Flags a run in which the broadcasts did not all reach the log, which
// would leave the log's cost out of the figure.
void NoteLog(const BenchProcess& app, int broadcasts) {
  const size_t lines = LineCount(app.ReadFile(kLogName));
  if (lines < static_cast<size_t>(broadcasts))
    std::printf("  WARNING: the log holds %zu lines for %d broadcasts\n", lines, broadcasts);
}

void MeasureFootprintAndIdle(const std::string& appExe, const std::string& floorExe) {
  BenchProcess floor(floorExe, kFloorClass);
  BenchProcess app(appExe, kAppClass);
  floor.Start();
  app.Start();
  const LONGLONG delay = SecondsAsTicks(kFootprintDelaySeconds);
  SleepUntil(floor.StartTicks() + delay);
  const Memory floorMemory = MemoryOf(floor.Handle());
  SleepUntil(app.StartTicks() + delay);
  const Memory appMemory = MemoryOf(app.Handle());
  PrintRatio("working set", appMemory.workingSet, floorMemory.workingSet, kMiB, "MiB",
             kFootprintGoal);
  PrintRatio("private bytes", appMemory.privateBytes, floorMemory.privateBytes, kMiB, "MiB",
             kFootprintGoal);

  const double appBefore = CpuSeconds(app.Handle());
  const double floorBefore = CpuSeconds(floor.Handle());
  Sleep(kIdleMs);
  const double appIdle = CpuSeconds(app.Handle()) - appBefore;
  const double floorIdle = CpuSeconds(floor.Handle()) - floorBefore;
  PrintRatio("idle cpu (2 min)", appIdle * 1000, floorIdle * 1000, 1, "ms", 0);
  std::printf("  resolution 10 ms: Wine reads another process's CPU times from Linux\n");
}

void MeasureEventCost(const std::string& appExe, const std::string& floorExe) {
  // The best of a few rounds: noise only ever adds time.
  double best = 0, bestFloor = 0;
  for (int round = 0; round < kEventRounds; ++round) {
    BenchProcess app(appExe, kAppClass);
    app.Start(LoggingIni(app));
    Park(app);
    const double time = TimeBroadcasts(app, kEventCount, kEventCount).front();
    if (round == 0) NoteLog(app, kEventCount);
    const double floorTime =
        TimeAppends(app.FilePath(kFloorLogName), LastListLine(app), kEventCount, kEventCount)
            .front();
    best = round == 0 ? time : std::min(best, time);
    bestFloor = round == 0 ? floorTime : std::min(bestFloor, floorTime);
  }
  PrintRatio("event cost (5000)", best, bestFloor, 1, "s", kEventGoal);

  // What delivering the broadcasts costs by itself, answered by a window
  // that does nothing with them.
  BenchProcess floor(floorExe, kFloorClass);
  floor.Start();
  const double delivery = TimeBroadcasts(floor, kEventCount, kEventCount).front();
  std::printf("  delivery alone: %.3f s (the same broadcasts to the floor program's window)\n",
              delivery);
}

void MeasureGrowth(const std::string& appExe) {
  BenchProcess app(appExe, kAppClass);
  app.Start(LoggingIni(app));
  Park(app);
  const std::vector<double> blocks = TimeBroadcasts(app, kGrowthCount, kGrowthBlock);
  PrintRatio("growth (last/first 1k)", blocks.back(), blocks.front(), 1, "s", kGrowthGoal);
  NoteLog(app, kGrowthCount);

  // The log's file calls alone, on a file growing the same way, separate
  // the log from the event list. A single block of these is short enough
  // for one hiccup of the machine to double it: medians of five.
  const std::vector<double> appends =
      TimeAppends(app.FilePath(kFloorLogName), LastListLine(app), kGrowthCount, kGrowthBlock);
  const double first = MedianOfFive(appends.begin());
  const double last = MedianOfFive(appends.end() - 5);
  std::printf("  log appends alone: median 1k of the last five %.3f s, of the first five %.3f s, "
              "ratio %.3f\n",
              last, first, last / first);
}

void MeasureSize(const std::string& appExe, const std::string& floorExe) {
  const double size = FileBytes(appExe);
  PrintRatio("size (win32 exe)", size, FileBytes(floorExe), kKiB, "KiB", 0);
  std::printf("  %.0f bytes; goal <= %.0f KiB %s\n", size, kSizeGoalBytes / kKiB,
              size <= kSizeGoalBytes ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s TESSARIL64 FLOOR64 TESSARIL32 FLOOR32\n", argv[0]);
    return 2;
  }
  try {
    MeasureSize(argv[3], argv[4]);
    MeasureEventCost(argv[1], argv[2]);
    MeasureGrowth(argv[1]);
    MeasureFootprintAndIdle(argv[1], argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
