#pragma once
#include <exception>
#include <functional>
#include <string>

#include "platform/types.h"

class TForm1;

// The title: the executable's file name without its folder, cut before its
// first ".", every character after the first in lower case.
std::string ApplicationTitle(const std::string& moduleFileName);

// The process-wide application object: the invisible application window
// that owns the program's windows and carries the task-bar button, the main
// window, the message loop and the general error report.
class TApplication {
 public:
  std::string Title;
  WindowId Handle = 0;       // the application window
  TForm1* MainForm = nullptr;
  bool MainWindowShown = true;  // false while parked in the tray
  bool QuitReceived = false;    // the loop took the quit request
  bool LoopEnded = false;       // the exit steps have begun
  std::function<void()> OnMinimize;

  // The general error report: a stop-icon box captioned with the title.
  void ShowException(const std::exception& error);

  // Waits for one message and dispatches it.
  void HandleMessage();
  // Dispatches every pending message and returns.
  void ProcessMessages();
  // Shows the main window (or parks the program for a minimised start) and
  // runs the loop until the quit request.
  void Run();
  // Asks the loop to end.
  void Terminate();

  void Minimize();
  void Restore();
  // Shows the application window, and with it the program's task-bar
  // button, as the main window is shown at the start.
  void ShowTaskBarButton();

 private:
  bool parkedMainWindow_ = false;  // hidden by Minimize, shown again by Restore
};

extern TApplication* Application;
