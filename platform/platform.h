#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/standby.h"
#include "platform/types.h"
#include "platform/window_system.h"

// The operations the logic needs from the operating system. The Win32
// implementation maps each one onto a single API call; tests supply fakes.

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  virtual UtcSeconds UtcNow() = 0;
  // The local calendar time of an instant, by the time zone's rule for
  // that date (daylight-saving time included).
  virtual LocalTime LocalAt(UtcSeconds time) = 0;
  // Milliseconds since the system started, sleep and hibernation included;
  // setting the clock does not move it.
  virtual std::uint64_t ElapsedMs() = 0;
  // The user's regional separators; empty when the settings give none.
  virtual std::string DateSeparator() = 0;
  virtual std::string TimeSeparator() = 0;
};

class FileHandle {
 public:
  virtual ~FileHandle() = default;
  // Returns 0 or the OS error code; `written` receives the bytes written.
  virtual std::uint32_t Write(const std::string& bytes, std::size_t& written) = 0;
  // Writes out what is buffered and closes; returns 0 or the OS error code.
  virtual std::uint32_t Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // An existing file, read/write, others may only read, positioned at its end.
  virtual std::unique_ptr<FileHandle> OpenForAppend(const std::string& path,
                                                    std::uint32_t& error) = 0;
  // A new empty file; fails when one of that name exists already.
  virtual std::unique_ptr<FileHandle> CreateNew(const std::string& path,
                                                std::uint32_t& error) = 0;
  // An empty file of that name, made or emptied, for writing.
  virtual std::unique_ptr<FileHandle> Replace(const std::string& path, std::uint32_t& error) = 0;
  // An existing entry that is not a directory.
  virtual bool FileExists(const std::string& path) = 0;
  // An existing entry with the directory attribute.
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Full path of the running executable.
  virtual std::string ModuleFileName() = 0;
  // The variable's value, empty when it is not set.
  virtual std::string GetEnv(const std::string& name) = 0;
};

class Sound {
 public:
  virtual ~Sound() = default;
  // Starts the WAV file in the background, cutting off a sound still playing.
  virtual void PlayAsync(const std::string& path) = 0;
};

class PowerSource {
 public:
  virtual ~PowerSource() = default;
  // A zero-filled status record as the system filled it.
  virtual PowerStatus Query() = 0;
};

class MemorySource {
 public:
  virtual ~MemorySource() = default;
  // Available physical memory in bytes, as an unsigned 32-bit count.
  virtual std::uint32_t AvailPhysBytes() = 0;
  // Available and total physical memory, all of it; zeros if unknown.
  virtual PhysicalMemory Physical() = 0;
};

class ProcessList {
 public:
  virtual ~ProcessList() = default;
  // The running processes whose counters the program may read.
  virtual std::vector<ProcessMemory> Processes() = 0;
  virtual std::uint32_t CurrentProcessId() = 0;
};

// Private-profile (INI) files.
class Profile {
 public:
  virtual ~Profile() = default;
  // The value (at most 2047 bytes) or the default.
  virtual std::string Read(const std::string& path, const std::string& section,
                           const std::string& key, const std::string& def) = 0;
  // False when the platform refused the write.
  virtual bool Write(const std::string& path, const std::string& section,
                     const std::string& key, const std::string& value) = 0;
  // Asks the platform to write out cached changes of the file.
  virtual void Flush(const std::string& path) = 0;
  // Removes the section and its keys; false when the platform did not
  // (Wine also answers false for a section that is not there).
  virtual bool DeleteSection(const std::string& path, const std::string& section) = 0;
};

enum class MessageKind {
  Plain,        // one OK button, no icon
  Error,        // stop icon
  Information,  // information icon
};

struct FileDialogRequest {
  bool save = false;
  std::string title;
  std::string filter;  // "caption|pattern|caption|pattern"
  std::string defaultExt;
  std::string fileName;  // in: current name; out: the chosen full path
  std::string initialDir;
  bool confirmOverwrite = false;  // a save asks before it replaces a file
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A modal box; with `owner` 0 the program's active window owns it.
  virtual void ShowMessage(WindowId owner, const std::string& text,
                          const std::string& caption, MessageKind kind) = 0;
  // True when the user confirmed; request.fileName then holds the choice.
  virtual bool RunFileDialog(FileDialogRequest& request) = 0;
};

// The version resource of a file.
class VersionInfo {
 public:
  virtual ~VersionInfo() = default;
  // Size of the file's version block; 0 when it has none.
  virtual std::uint32_t BlockSize(const std::string& path) = 0;
  // Copies the block into `buffer` (size bytes); false when the read failed.
  virtual bool ReadBlock(const std::string& path, std::uint32_t size, void* buffer) = 0;
  // The value at `subBlock` and its length; length 0 when it is not there.
  virtual const void* Query(const void* block, const std::string& subBlock,
                            std::uint32_t& length) = 0;
};

struct Platform {
  Clock* clock = nullptr;
  FileSystem* files = nullptr;
  Sound* sound = nullptr;
  PowerSource* power = nullptr;
  MemorySource* memory = nullptr;
  Profile* profile = nullptr;
  Dialogs* dialogs = nullptr;
  WindowSystem* windows = nullptr;
  VersionInfo* version = nullptr;
  ProcessList* processes = nullptr;
  SuspendResumeNotice* suspendResume = nullptr;
  SystemLog* systemLog = nullptr;
};

// The platform the program runs on; installed once at start (or by a test).
Platform& Sys();
void InstallPlatform(const Platform& platform);
