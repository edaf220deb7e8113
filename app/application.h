#pragma once
#include <exception>
#include <string>

// The title: the executable's file name without its folder, cut before its
// first ".", every character after the first in lower case.
std::string ApplicationTitle(const std::string& moduleFileName);

// The process-wide application object.
class TApplication {
 public:
  std::string Title;

  // The general error report: a stop-icon box captioned with the title.
  void ShowException(const std::exception& error);
};

extern TApplication* Application;
