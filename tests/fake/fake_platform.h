#pragma once
#include <algorithm>
#include <functional>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/platform.h"

// An in-memory platform for the native tests. Paths are plain strings; a
// file's folder exists when its directory part (without the last "\") was
// added with AddDirectory.

// The local clock reads `now`, in a zone `utcOffset` seconds ahead of UTC.
class FakeClock : public Clock {
 public:
  LocalTime now{2026, 12, 7, 5, 32, 29};
  std::int64_t utcOffset = 9 * 3600;
  std::uint64_t elapsedMs = 0;
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
  LocalTime Now() override { return now; }
  UtcSeconds UtcNow() override;
  LocalTime LocalAt(UtcSeconds time) override;
  std::uint64_t ElapsedMs() override { return elapsedMs; }
  std::string DateSeparator() override { return dateSeparator; }
  std::string TimeSeparator() override { return timeSeparator; }
};

struct FakeFile {
  std::string bytes;
  bool readOnly = false;
  bool heldForWriting = false;  // another program has it open for writing
};

class FakeFileSystem : public FileSystem {
 public:
  std::map<std::string, FakeFile> files;
  std::set<std::string> directories;
  std::map<std::string, std::string> environment;
  std::string moduleFileName = "C:\\Apps\\Tessaril\\Tessaril.exe";
  std::size_t diskSpace = static_cast<std::size_t>(-1);  // bytes still writable
  std::uint32_t closeError = 0;                           // returned by the next Close
  int opens = 0, creates = 0;

  void AddDirectory(const std::string& path) { directories.insert(path); }

  std::unique_ptr<FileHandle> OpenForAppend(const std::string& path, std::uint32_t& error) override;
  std::unique_ptr<FileHandle> CreateNew(const std::string& path, std::uint32_t& error) override;
  std::unique_ptr<FileHandle> Replace(const std::string& path, std::uint32_t& error) override;
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool DirectoryExists(const std::string& path) override;
  std::string ModuleFileName() override { return moduleFileName; }
  std::string GetEnv(const std::string& name) override;

 private:
  bool FolderOf(const std::string& path) const;
};

class FakeSound : public Sound {
 public:
  std::vector<std::string> played;
  void PlayAsync(const std::string& path) override { played.push_back(path); }
};

class FakePowerSource : public PowerSource {
 public:
  PowerStatus status{1, 85};
  int queries = 0;
  PowerStatus Query() override {
    ++queries;
    return status;
  }
};

class FakeMemorySource : public MemorySource {
 public:
  std::uint32_t availBytes = 0xFFFFFFFFu;
  PhysicalMemory physical{6ull << 30, 16ull << 30};
  std::uint32_t AvailPhysBytes() override { return availBytes; }
  PhysicalMemory Physical() override { return physical; }
};

// Behaves like the private-profile calls: missing file, section or key gives
// the default; names match in either letter case; a written value loses its
// surrounding blanks, a read one its matching quotes; values are cut at 2047
// bytes; a refused write returns false.
class FakeProfile : public Profile {
 public:
  struct Entry {
    std::string key, value;
  };
  std::map<std::string, std::vector<Entry>> files;  // path -> keys of "main", in order
  // path -> section name in lower case -> its keys; every section but "main"
  std::map<std::string, std::map<std::string, std::vector<Entry>>> otherSections;
  std::set<std::string> readOnly;                   // paths whose writes are refused
  std::set<std::string> refusedKeys;                // keys whose writes are refused
  int flushes = 0;

  static std::string Trimmed(const std::string& value);

  std::string Read(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& def) override;
  bool Write(const std::string& path, const std::string& section, const std::string& key,
             const std::string& value) override;
  void Flush(const std::string&) override { ++flushes; }
  // As Wine answers: false for a section that is not there.
  bool DeleteSection(const std::string& path, const std::string& section) override;

 private:
  std::vector<Entry>* Keys(const std::string& path, const std::string& section, bool create);
};

class FakeDialogs : public Dialogs {
 public:
  struct Box {
    WindowId owner;
    std::string text, caption;
    MessageKind kind;
  };
  std::vector<Box> boxes;
  std::vector<FileDialogRequest> fileDialogs;  // as they were asked
  bool confirmFileDialog = false;
  std::string chosenFile;
  // Runs inside the box's modal loop, as events delivered there would.
  std::function<void(const Box&)> whileShown;

  void ShowMessage(WindowId owner, const std::string& text, const std::string& caption,
                  MessageKind kind) override;
  bool RunFileDialog(FileDialogRequest& request) override;
};

class FakeMemo : public Memo {
 public:
  std::vector<std::string> lines;
  void AppendLine(const std::string& line) override { lines.push_back(line); }
};

class FakeTimerDevice : public TimerDevice {
 public:
  bool running = false;
  bool refuse = false;
  int starts = 0;
  std::uint32_t interval = 0;
  bool Start(std::uint32_t intervalMs) override {
    if (refuse) return false;
    running = true;
    interval = intervalMs;
    ++starts;
    return true;
  }
  void Stop() override { running = false; }
};

// Records every window operation, in order, as text ("show 0x1000 3").
using Journal = std::vector<std::string>;

class FakeFormWindow : public FormWindow {
 public:
  static constexpr WindowId kHandle = 0x1000;
  static constexpr WindowId kTrayHandle = 0x3000;
  std::intptr_t defaultResult = 1;
  std::vector<std::uint32_t> defaultHandled;
  std::vector<std::pair<std::int32_t, std::uint8_t>> batteryWarnings;  // posted limit, percent
  Journal* journal = nullptr;
  WindowId Handle() override { return kHandle; }
  void DefaultHandler(TMessage& message) override {
    defaultHandled.push_back(message.Msg);
    message.Result = defaultResult;
  }
  void ShowNative(int command) override { Note("native " + std::to_string(command)); }
  WindowId CreateTrayWindow() override {
    Note("create tray window");
    return kTrayHandle;
  }
  void DestroyTrayWindow() override { Note("destroy tray window"); }
  void PostBatteryWarning(std::int32_t limit, std::uint8_t percent) override {
    batteryWarnings.push_back({limit, percent});
  }

  std::int32_t left = 100, top = 50, width = 484, height = 80;
  std::vector<std::string> boundChanges;  // "Left=10" and so on, in order
  std::int32_t Left() override { return left; }
  std::int32_t Top() override { return top; }
  std::int32_t Width() override { return width; }
  std::int32_t Height() override { return height; }
  void SetLeft(std::int32_t v) override { Change("Left", left, v); }
  void SetTop(std::int32_t v) override { Change("Top", top, v); }
  void SetWidth(std::int32_t v) override { Change("Width", width, v); }
  void SetHeight(std::int32_t v) override { Change("Height", height, v); }

 private:
  void Change(const char* name, std::int32_t& field, std::int32_t value) {
    field = value;
    boundChanges.push_back(std::string(name) + "=" + std::to_string(value));
  }
  void Note(const std::string& what) {
    if (journal != nullptr) journal->push_back(what);
  }
};

class FakeWindowSystem : public WindowSystem {
 public:
  Journal journal;
  std::vector<bool> dispatchResults;  // WaitAndDispatch answers, then true
  std::set<WindowId> iconic, zoomed, visible;
  std::uint32_t mutexResult = 0;
  WindowId found = 0;
  int launchShowCommand = 10;
  bool shownOnce = false;  // Show was called: the launch's command is used up
  ScreenPoint cursor{100, 200};
  std::vector<TrayIconData> icons;  // every record passed, in order
  std::function<void()> onDispatch;  // runs as if a dispatched message did

  bool WaitAndDispatch() override;
  bool DispatchPending() override;
  void PostQuit() override { journal.push_back("post quit"); }
  void Show(WindowId window, int command) override;
  bool IsIconic(WindowId window) override { return iconic.count(window) != 0; }
  bool IsZoomed(WindowId window) override { return zoomed.count(window) != 0; }
  bool IsVisible(WindowId window) override { return visible.count(window) != 0; }
  void ShowOwned(WindowId owner, bool show) override {
    journal.push_back((show ? "show owned " : "hide owned ") + std::to_string(owner));
  }
  void SetForeground(WindowId window) override {
    journal.push_back("foreground " + std::to_string(window));
  }
  WindowId Find(const std::string& className, const std::string& title) override {
    journal.push_back("find " + className + " " + title);
    return found;
  }
  ScreenPoint CursorPos() override {
    journal.push_back("cursor");
    return cursor;
  }
  void PostNull(WindowId window) override { journal.push_back("null " + std::to_string(window)); }
  int LaunchShowCommand() override { return launchShowCommand; }
  std::uint32_t TakeNamedMutex(const std::string& name) override {
    journal.push_back("mutex " + name);
    return mutexResult;
  }
  std::uint32_t RegisterMessage(const std::string&) override { return 0xC123; }
  void NotifyIcon(std::uint32_t action, const TrayIconData& data) override {
    journal.push_back("icon " + std::to_string(action));
    icons.push_back(data);
  }
  void TrackPopup(const std::vector<MenuItem>& items, int x, int y, std::uint32_t flags,
                  WindowId owner) override;
};

class FakeProcessList : public ProcessList {
 public:
  std::vector<ProcessMemory> processes;
  std::uint32_t self = 1000;
  int lists = 0;
  bool fail = false;  // the listing runs out of memory
  std::vector<ProcessMemory> Processes() override {
    ++lists;
    if (fail) throw std::bad_alloc();
    return processes;
  }
  std::uint32_t CurrentProcessId() override { return self; }
};

class FakeSuspendResumeNotice : public SuspendResumeNotice {
 public:
  static constexpr std::uintptr_t kRegistration = 0x5150;
  bool available = true;  // false: a system before Windows 8
  std::vector<WindowId> registered;
  std::vector<std::uintptr_t> unregistered;
  std::uintptr_t Register(WindowId window) override {
    if (available) registered.push_back(window);
    return available ? kRegistration : 0;
  }
  void Unregister(std::uintptr_t registration) override { unregistered.push_back(registration); }
};

// `events` newest first, taken whatever the filter.
class FakeSystemLog : public SystemLog {
 public:
  bool readable = true;
  std::uint64_t now = 0;
  std::vector<SystemLogEvent> events;
  int queries = 0;
  std::uint64_t Now() override { return now; }
  bool Query(const std::string&, std::size_t count, std::vector<SystemLogEvent>& out) override {
    ++queries;
    out.assign(events.begin(), events.begin() + std::min(count, events.size()));
    return readable;
  }
};

// A version block made of named values.
class FakeVersionInfo : public VersionInfo {
 public:
  std::map<std::string, std::string> values;  // sub-block -> bytes
  bool hasBlock = true;
  bool readFails = false;
  std::uint32_t BlockSize(const std::string&) override { return hasBlock ? 64 : 0; }
  bool ReadBlock(const std::string&, std::uint32_t size, void* buffer) override;
  const void* Query(const void* block, const std::string& subBlock, std::uint32_t& length) override;
};

// Owns one of each fake and installs them as the platform for its lifetime.
struct FakePlatform {
  FakeClock clock;
  FakeFileSystem files;
  FakeSound sound;
  FakePowerSource power;
  FakeMemorySource memory;
  FakeProfile profile;
  FakeDialogs dialogs;
  FakeWindowSystem windows;
  FakeVersionInfo version;
  FakeProcessList processes;
  FakeSuspendResumeNotice suspendResume;
  FakeSystemLog systemLog;

  FakePlatform();
  ~FakePlatform();
};
