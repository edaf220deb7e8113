#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_system.h"

void InstallWin32Platform() {
  static Win32Clock clock;
  static Win32FileSystem files;
  static Win32Sound sound;
  static Win32PowerSource power;
  static Win32MemorySource memory;
  static Win32Profile profile;
  static Win32Dialogs dialogs;
  static Win32WindowSystem windows;
  static Win32VersionInfo version;
  static Win32ProcessList processes;
  static Win32SuspendResumeNotice suspendResume;
  static Win32SystemLog systemLog;
  Platform platform;
  platform.clock = &clock;
  platform.files = &files;
  platform.sound = &sound;
  platform.power = &power;
  platform.memory = &memory;
  platform.profile = &profile;
  platform.dialogs = &dialogs;
  platform.windows = &windows;
  platform.version = &version;
  platform.processes = &processes;
  platform.suspendResume = &suspendResume;
  platform.systemLog = &systemLog;
  InstallPlatform(platform);
}

HMODULE LoadSystemLibrary(const char* name) {
  char path[MAX_PATH];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length + 1 + lstrlenA(name) >= MAX_PATH) return nullptr;
  lstrcatA(path, "\\");
  lstrcatA(path, name);
  return LoadLibraryA(path);
}
