#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "tests/shared/driver_support_win32.h"

// One measured program: a copy of the exe in a fresh folder of its own (so
// its INI and log belong to one measurement), started in a job that kills
// it when the driver ends. The folder goes with the object.
class BenchProcess {
 public:
  // exe: a Unix or Windows path; windowClass: its main window's class.
  BenchProcess(const std::string& exe, const std::string& windowClass);
  ~BenchProcess();
  BenchProcess(const BenchProcess&) = delete;
  BenchProcess& operator=(const BenchProcess&) = delete;

  // Writes the INI bytes (when not empty) beside the copy, starts it with
  // the arguments and waits until its main window is ready (by default:
  // shown) and its message loop answers. Throws on failure.
  void Start(const std::string& ini = "", const std::string& arguments = "",
             const std::function<bool(HWND)>& ready = IsShown);
  static bool IsShown(HWND window) { return IsWindowVisible(window) != FALSE; }

  HANDLE Handle() const { return process_; }
  HWND MainWindow() const { return mainWindow_; }
  // Performance-counter ticks at the moment the process was created.
  LONGLONG StartTicks() const { return startTicks_; }
  // Ticks when the main window was first seen ready.
  LONGLONG ReadyTicks() const { return readyTicks_; }
  std::string FilePath(const std::string& name) const { return folder_ + "\\" + name; }
  // A file of the folder; empty when it is missing.
  std::string ReadFile(const std::string& name) const;

 private:
  std::string folder_;
  std::string exePath_;
  std::string windowClass_;
  HANDLE process_ = nullptr;
  HANDLE job_ = nullptr;
  HWND mainWindow_ = nullptr;
  LONGLONG startTicks_ = 0;
  LONGLONG readyTicks_ = 0;
};

// The performance counter, and its ticks as seconds.
LONGLONG Ticks();
double Seconds(LONGLONG ticks);
