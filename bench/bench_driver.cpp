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
// Usage: tessaril_bench TESSARIL64 FLOOR64 TESSARIL32 FLOOR32 [FIGURE]
// (the 64-bit exes run; of the 32-bit ones only the size is read). FIGURE
// (start, bursts or growth, the last shown only) measures just that one.

namespace {

constexpr char kAppClass[] = "TForm1";
constexpr char kFloorClass[] = "TessarilBenchFloor";
constexpr char kLogName[] = "Tessaril.log";
constexpr char kFloorLogName[] = "floor.log";

constexpr char kListName[] = "list.txt";

constexpr double kFootprintDelaySeconds = 5;
constexpr DWORD kIdleMs = 120000;
constexpr int kEventCount = 5000;
constexpr int kRounds = 3;
// Start-up takes a fraction of a second, in which a busy spell of the
// machine weighs more: more rounds.
constexpr int kStartRounds = 7;
constexpr int kGrowthCount = 20000;
constexpr int kGrowthBlock = 1000;
constexpr WPARAM kPowerStatusChange = 0x0A;
// An event code the program does not know: default processing only.
constexpr WPARAM kUnknownEvent = 0x0C;
constexpr UINT kReplyTimeoutMs = 5000;
constexpr DWORD kPollMs = 20;

constexpr double kFootprintGoal = 1.05;
// Private bytes the list may add per byte of the text it holds.
constexpr double kTextMemoryGoal = 2;
constexpr double kEventGoal = 1.3;
constexpr double kGrowthGoal = 1.2;
constexpr double kStartGoal = 1.2;
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
// its state for most of its life.
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

// Sends `count` broadcasts (status changes unless told) and returns the
// time of each block of `block` of them; with `cpu`, also the CPU time the
// program spent in each block.
std::vector<double> TimeBroadcasts(const BenchProcess& app, int count, int block,
                                   WPARAM code = kPowerStatusChange,
                                   std::vector<double>* cpu = nullptr) {
  std::vector<double> blocks;
  LONGLONG start = Ticks();
  double cpuStart = cpu != nullptr ? CpuSeconds(app.Handle()) : 0;
  for (int i = 1; i <= count; ++i) {
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutA(app.MainWindow(), WM_POWERBROADCAST, code, 0,
                             SMTO_ABORTIFHUNG, kReplyTimeoutMs, &reply))
      Fail("no reply to broadcast " + std::to_string(i));
    if (i % block == 0) {
      const LONGLONG now = Ticks();
      blocks.push_back(Seconds(now - start));
      start = now;
      if (cpu != nullptr) {
        const double cpuNow = CpuSeconds(app.Handle());
        cpu->push_back(cpuNow - cpuStart);
        cpuStart = cpuNow;
      }
    }
  }
  return blocks;
}

HWND MemoOf(HWND mainWindow) { return FindWindowExA(mainWindow, nullptr, "EDIT", nullptr); }

// Whether the event list holds text: the start line has been listed.
bool StartLineListed(HWND mainWindow) {
  HWND memo = MemoOf(mainWindow);
  DWORD_PTR length = 0;
  return memo != nullptr &&
         SendMessageTimeoutA(memo, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs,
                             &length) &&
         length > 0;
}

std::string ListText(const BenchProcess& app) {
  HWND memo = MemoOf(app.MainWindow());
  if (memo == nullptr) Fail("the main window has no EDIT control");
  return WindowText(memo);
}

// The event list's last line with its CR LF: the bytes each broadcast adds.
std::string LastLine(const std::string& text) {
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

bool linesLost = false;

// No line may be lost: after `broadcasts` events the log and the list both
// hold them and the start line. Reading the list also makes the program
// list every line it still holds back. Returns the list's text.
std::string CheckLines(const BenchProcess& app, int broadcasts, const char* what) {
  const std::string list = ListText(app);
  const size_t expected = static_cast<size_t>(broadcasts) + 1;
  const size_t logLines = LineCount(app.ReadFile(kLogName));
  const size_t listLines = LineCount(list);
  const bool ok = logLines == expected && listLines == expected;
  std::printf("  lines (%s): log %zu, list %zu, expected %zu: %s\n", what, logLines, listLines,
              expected, ok ? "none lost" : "LOST");
  if (!ok) linesLost = true;
  return list;
}

double Least(int round, double best, double value) {
  return round == 0 ? value : std::min(best, value);
}

const char* StateName(bool parked) { return parked ? "parked" : "shown"; }

// The start: from launch to the start line in the event list, against the
// floor program's launch to its window shown. Best of a few rounds.
void MeasureStart(const std::string& appExe, const std::string& floorExe) {
  double app = 0, floor = 0, shown = 0;
  for (int round = 0; round < kStartRounds; ++round) {
    BenchProcess floorProcess(floorExe, kFloorClass);
    floorProcess.Start();
    const double floorTime = Seconds(floorProcess.ReadyTicks() - floorProcess.StartTicks());
    BenchProcess appProcess(appExe, kAppClass);
    LONGLONG shownTicks = 0;
    appProcess.Start(LoggingIni(appProcess), "", [&](HWND window) {
      if (shownTicks == 0 && IsWindowVisible(window)) shownTicks = Ticks();
      return StartLineListed(window);
    });
    // A read lists the start line at once, even before the window shows.
    for (DWORD waited = 0; shownTicks == 0; ++waited) {
      if (IsWindowVisible(appProcess.MainWindow())) shownTicks = Ticks();
      else if (waited >= kReplyTimeoutMs) throw std::runtime_error("the window never showed");
      else Sleep(1);
    }
    const double appTime = Seconds(appProcess.ReadyTicks() - appProcess.StartTicks());
    const double shownTime = Seconds(shownTicks - appProcess.StartTicks());
    floor = Least(round, floor, floorTime);
    app = Least(round, app, appTime);
    shown = Least(round, shown, shownTime);
  }
  PrintRatio("start to start line", app * 1000, floor * 1000, 1, "ms", kStartGoal);
  std::printf("  the program's launch to its window shown: %.0f ms\n", shown * 1000);
}

// The system calls the event handler makes besides the log's and the
// list's (power status, clock, regional separators), made here `count`
// times: a measured part of the program's cost above the floor.
double TimeHandlerCalls(int count) {
  const LONGLONG start = Ticks();
  for (int i = 0; i < count; ++i) {
    SYSTEM_POWER_STATUS status;
    GetSystemPowerStatus(&status);
    SYSTEMTIME time;
    GetLocalTime(&time);
    char separator[16];
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, separator, sizeof separator);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, separator, sizeof separator);
  }
  return Seconds(Ticks() - start);
}

// A burst of broadcasts, parked and shown, against the floor: the same
// broadcasts delivered to a window that does default processing only, plus
// the log's own file calls for them. Best of a few rounds, each measuring
// program and floor one after the other, so a busy spell of the machine
// hits both: noise only ever adds time.
void MeasureBursts(const std::string& appExe, const std::string& floorExe) {
  double burst[2] = {0, 0}, delivery = 0, appends = 0, calls = 0, unknown = 0;
  std::string line;
  for (int round = 0; round < kRounds; ++round) {
    for (const bool parked : {true, false}) {
      BenchProcess app(appExe, kAppClass);
      app.Start(LoggingIni(app));
      if (parked) Park(app);
      const double time = TimeBroadcasts(app, kEventCount, kEventCount).front();
      if (round == 0) line = LastLine(CheckLines(app, kEventCount, StateName(parked)));
      burst[parked] = Least(round, burst[parked], time);
      if (parked)
        unknown = Least(round, unknown,
                        TimeBroadcasts(app, kEventCount, kEventCount, kUnknownEvent).front());
    }
    BenchProcess floor(floorExe, kFloorClass);
    floor.Start();
    delivery = Least(round, delivery, TimeBroadcasts(floor, kEventCount, kEventCount).front());
    appends = Least(round, appends,
                    TimeAppends(floor.FilePath(kFloorLogName), line, kEventCount, kEventCount)
                        .front());
    calls = Least(round, calls, TimeHandlerCalls(kEventCount));
  }
  PrintRatio("burst (5000) parked", burst[true], delivery + appends, 1, "s", kEventGoal);
  PrintRatio("burst (5000) shown", burst[false], delivery + appends, 1, "s", kEventGoal);
  std::printf("  floor: delivery to the floor window %.3f s + open-append-close %.3f s\n"
              "  the handler's other calls alone (power status, clock, separators): %.3f s\n"
              "  an unknown event code to the parked program (default processing only): %.3f s\n",
              delivery, appends, calls, unknown);
}

// Growth over 20,000 broadcasts: the last 1,000 against the first 1,000.
// Returns the list's text at the end.
std::string MeasureGrowth(const BenchProcess& app, bool parked) {
  std::vector<double> cpu;
  const std::vector<double> blocks =
      TimeBroadcasts(app, kGrowthCount, kGrowthBlock, kPowerStatusChange, &cpu);
  const std::string name = std::string("growth ") + StateName(parked);
  PrintRatio(name.c_str(), blocks.back(), blocks.front(), 1, "s", kGrowthGoal);
  std::printf("  medians of the last five and the first five 1k blocks: %.3f s, %.3f s, "
              "ratio %.3f\n",
              MedianOfFive(blocks.end() - 5), MedianOfFive(blocks.begin()),
              MedianOfFive(blocks.end() - 5) / MedianOfFive(blocks.begin()));
  // The program's own CPU time, which other programs on the machine hardly
  // change; medians of five blocks, since the resolution is 10 ms.
  const std::string cpuName = name + " (cpu)";
  PrintRatio(cpuName.c_str(), MedianOfFive(cpu.end() - 5) * 1000, MedianOfFive(cpu.begin()) * 1000,
             1, "ms", kGrowthGoal);
  return CheckLines(app, kGrowthCount, name.c_str());
}

// The log's file calls alone, on a file growing the same way, separate the
// log from the event list. A single block of these is short enough for one
// hiccup of the machine to double it: medians of five.
void MeasureLogGrowth(const BenchProcess& app, const std::string& line) {
  const std::vector<double> appends =
      TimeAppends(app.FilePath(kFloorLogName), line, kGrowthCount, kGrowthBlock);
  const double first = MedianOfFive(appends.begin());
  const double last = MedianOfFive(appends.end() - 5);
  std::printf("  log appends alone: median 1k of the last five %.3f s, of the first five %.3f s, "
              "ratio %.3f\n",
              last, first, last / first);
}

void PrintMemory(const char* what, const Memory& app, const Memory& floor) {
  std::printf("%s\n", what);
  PrintRatio("  working set", app.workingSet, floor.workingSet, kMiB, "MiB", kFootprintGoal);
  PrintRatio("  private bytes", app.privateBytes, floor.privateBytes, kMiB, "MiB",
             kFootprintGoal);
}

// Footprint and idle cost at start against the floor program; then growth
// parked, and the footprint again with 20,000 lines listed, against a floor
// program whose edit control holds the same text.
void MeasureFootprintIdleAndGrowth(const std::string& appExe, const std::string& floorExe) {
  BenchProcess floor(floorExe, kFloorClass);
  BenchProcess app(appExe, kAppClass);
  floor.Start();
  app.Start(LoggingIni(app));
  const LONGLONG delay = SecondsAsTicks(kFootprintDelaySeconds);
  SleepUntil(floor.StartTicks() + delay);
  const Memory floorMemory = MemoryOf(floor.Handle());
  SleepUntil(app.StartTicks() + delay);
  const Memory appMemory = MemoryOf(app.Handle());
  PrintMemory("footprint 5 s after start", appMemory, floorMemory);

  const double appBefore = CpuSeconds(app.Handle());
  const double floorBefore = CpuSeconds(floor.Handle());
  Sleep(kIdleMs);
  const double appIdle = CpuSeconds(app.Handle()) - appBefore;
  const double floorIdle = CpuSeconds(floor.Handle()) - floorBefore;
  PrintRatio("idle cpu (2 min)", appIdle * 1000, floorIdle * 1000, 1, "ms", 0);
  std::printf("  resolution 10 ms: Wine reads another process's CPU times from Linux\n");

  Park(app);
  const std::string list = MeasureGrowth(app, true);
  const Memory appFull = MemoryOf(app.Handle());
  const std::string listPath = app.FilePath(kListName);
  WriteWholeFile(listPath, list);
  BenchProcess fullFloor(floorExe, kFloorClass);
  fullFloor.Start("", listPath);
  SleepUntil(fullFloor.StartTicks() + delay);
  const Memory fullMemory = MemoryOf(fullFloor.Handle());
  PrintMemory("footprint with 20,000 lines listed (the floor's edit holds the same text)",
              appFull, fullMemory);
  const double textBytes = static_cast<double>(list.size());
  const double perByte = (appFull.privateBytes - appMemory.privateBytes) / textBytes;
  const double floorPerByte = (fullMemory.privateBytes - floorMemory.privateBytes) / textBytes;
  std::printf("  private bytes grew %.2f MiB for %.2f MiB of text: %.2f per byte (the floor's "
              "edit control: %.2f); goal <= %.0f %s\n",
              (appFull.privateBytes - appMemory.privateBytes) / kMiB, textBytes / kMiB, perByte,
              floorPerByte, kTextMemoryGoal, perByte <= kTextMemoryGoal ? "met" : "MISSED");
  MeasureLogGrowth(app, LastLine(list));
}

// Appends `lines` copies of the line to an edit control of another process
// in one go, as the program appends a batch, and repaints it; returns the
// time taken.
double TimeEditAppend(HWND edit, const std::string& line, int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += line;
  const LONGLONG start = Ticks();
  DWORD_PTR reply = 0;
  // Positions past the end stand for the end.
  SendMessageTimeoutA(edit, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF, SMTO_ABORTIFHUNG, kReplyTimeoutMs,
                      &reply);
  if (!SendMessageTimeoutA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()),
                           SMTO_ABORTIFHUNG, kReplyTimeoutMs, &reply))
    Fail("no reply to EM_REPLACESEL");
  RedrawWindow(edit, nullptr, nullptr, RDW_UPDATENOW);
  return Seconds(Ticks() - start);
}

// What a shown edit control costs by itself as it fills: a batch of lines
// appended to the floor program's edit control at 1,000 and at 20,000
// lines, with the repaint.
void MeasureEditAlone(const std::string& floorExe, const std::string& line) {
  constexpr int kBatch = 25, kTimed = 20;
  BenchProcess floor(floorExe, kFloorClass);
  floor.Start();
  HWND edit = MemoOf(floor.MainWindow());
  if (edit == nullptr) Fail("the floor program has no EDIT control");
  SendMessageTimeoutA(edit, EM_SETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, nullptr);
  const auto timeBatches = [&] {
    double total = 0;
    for (int i = 0; i < kTimed; ++i) total += TimeEditAppend(edit, line, kBatch);
    return total / kTimed;
  };
  TimeEditAppend(edit, line, kGrowthBlock - kBatch * kTimed);
  const double atFirst = timeBatches();
  for (int lines = kGrowthBlock; lines < kGrowthCount - kGrowthBlock; lines += kGrowthBlock)
    TimeEditAppend(edit, line, kGrowthBlock);
  const double atLast = timeBatches();
  std::printf("  the edit control alone (floor, shown): a %d-line append with its repaint takes "
              "%.1f ms at 1,000 lines, %.1f ms at 20,000: ratio %.2f\n",
              kBatch, atFirst * 1000, atLast * 1000, atLast / atFirst);
}

void MeasureShownGrowth(const std::string& appExe, const std::string& floorExe) {
  BenchProcess app(appExe, kAppClass);
  app.Start(LoggingIni(app));
  MeasureEditAlone(floorExe, LastLine(MeasureGrowth(app, false)));
}

void MeasureSize(const std::string& appExe, const std::string& floorExe) {
  const double size = FileBytes(appExe);
  PrintRatio("size (win32 exe)", size, FileBytes(floorExe), kKiB, "KiB", 0);
  std::printf("  %.0f bytes; goal <= %.0f KiB %s\n", size, kSizeGoalBytes / kKiB,
              size <= kSizeGoalBytes ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 6) {
    std::fprintf(stderr,
                 "usage: %s TESSARIL64 FLOOR64 TESSARIL32 FLOOR32 [start|bursts|growth]\n",
                 argv[0]);
    return 2;
  }
  const std::string only = argc == 6 ? argv[5] : "";
  try {
    if (only.empty()) MeasureSize(argv[3], argv[4]);
    if (only.empty() || only == "start") MeasureStart(argv[1], argv[2]);
    if (only.empty() || only == "bursts") MeasureBursts(argv[1], argv[2]);
    if (only.empty() || only == "growth") MeasureShownGrowth(argv[1], argv[2]);
    if (only.empty()) MeasureFootprintIdleAndGrowth(argv[1], argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench: %s\n", error.what());
    return 1;
  }
  if (linesLost) std::fprintf(stderr, "bench: lines were lost\n");
  return linesLost ? 1 : 0;
}
