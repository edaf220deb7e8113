#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"

// The Win32 platform: one object per concern, each call one API call.

class Win32Clock : public Clock {
 public:
  LocalTime Now() override;
  UtcSeconds UtcNow() override;
  LocalTime LocalAt(UtcSeconds time) override;
  std::uint64_t ElapsedMs() override;
  std::string DateSeparator() override;
  std::string TimeSeparator() override;
};

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<FileHandle> OpenForAppend(const std::string& path, std::uint32_t& error) override;
  std::unique_ptr<FileHandle> CreateNew(const std::string& path, std::uint32_t& error) override;
  std::unique_ptr<FileHandle> Replace(const std::string& path, std::uint32_t& error) override;
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  std::string ModuleFileName() override;
  std::string GetEnv(const std::string& name) override;
};

class Win32Sound : public Sound {
 public:
  void PlayAsync(const std::string& path) override;
};

class Win32PowerSource : public PowerSource {
 public:
  PowerStatus Query() override;
};

class Win32MemorySource : public MemorySource {
 public:
  std::uint32_t AvailPhysBytes() override;
  PhysicalMemory Physical() override;
};

class Win32Profile : public Profile {
 public:
  std::string Read(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& def) override;
  bool Write(const std::string& path, const std::string& section, const std::string& key,
             const std::string& value) override;
  void Flush(const std::string& path) override;
  bool DeleteSection(const std::string& path, const std::string& section) override;
};

class Win32Dialogs : public Dialogs {
 public:
  void ShowMessage(WindowId owner, const std::string& text, const std::string& caption,
                  MessageKind kind) override;
  bool RunFileDialog(FileDialogRequest& request) override;
};

class Win32VersionInfo : public VersionInfo {
 public:
  std::uint32_t BlockSize(const std::string& path) override;
  bool ReadBlock(const std::string& path, std::uint32_t size, void* buffer) override;
  const void* Query(const void* block, const std::string& subBlock, std::uint32_t& length) override;
};

class Win32ProcessList : public ProcessList {
 public:
  std::vector<ProcessMemory> Processes() override;
  std::uint32_t CurrentProcessId() override;
};

class Win32SuspendResumeNotice : public SuspendResumeNotice {
 public:
  std::uintptr_t Register(WindowId window) override;
  void Unregister(std::uintptr_t registration) override;
};

class Win32SystemLog : public SystemLog {
 public:
  std::uint64_t Now() override;
  bool Query(const std::string& xpath, std::size_t count,
             std::vector<SystemLogEvent>& events) override;
};

// The code page of the program's texts, whatever the system's.
inline constexpr UINT kTextCodePage = 932;

// UTF-16 text in code page 932: "?" for each character the code page lacks,
// never a look-alike.
std::string Cp932Text(const wchar_t* text, int length);
// Code page 932 text as UTF-16, ended with a 0. A vector, not a
// std::wstring: the wide string's library code would add a tenth to the exe.
std::vector<wchar_t> WideText(const std::string& text);

// Installs the Win32 objects as the program's platform.
void InstallWin32Platform();

// A system DLL loaded by its full System32 path, never from the program's
// folder or the current directory, where another program may have put a DLL
// of the same name.
HMODULE LoadSystemLibrary(const char* name);

// A function of a loaded DLL looked up at run time, for what older systems
// lack; null when the DLL or the function is missing.
template <typename Function>
Function Entry(HMODULE module, const char* name) {
  return module == nullptr ? nullptr
                           : reinterpret_cast<Function>(
                                 reinterpret_cast<void*>(GetProcAddress(module, name)));
}
template <typename Function>
void Resolve(HMODULE module, const char* name, Function& function) {
  function = Entry<Function>(module, name);
}
