#pragma once
#include <string>

#include "app/error.h"
#include "monitor/log_file.h"

// What the user would be shown for writing this line to the log: the text of
// the error report, or empty when the line was written.
inline std::string WriteLogReport(const std::string& line) {
  try {
    WriteLog(line);
  } catch (const AppError& error) {
    return ErrorReportText(error.what());
  }
  return "";
}
