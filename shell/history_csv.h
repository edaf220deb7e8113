#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "monitor/history.h"
#include "platform/platform.h"

// The graph's figures as a CSV file for a spreadsheet: a header, then one
// line per sample, in the program's code page with CR LF.
struct CsvRow {
  LocalTime time;  // local calendar time of the sample
  std::uint32_t availMB = 0;
  std::uint8_t mains = 0;  // the system's AC line byte: 1 on mains, 0 not, 255 unknown
  std::uint8_t batteryPercent = kUnknownBatteryPercent;
  bool asleep = false;
};

std::string CsvHeader();
// "yyyy/mm/dd hh:nn:ss,MB,mains,percent,asleep", without its line end.
std::string CsvLine(const CsvRow& row);
std::string HistoryCsv(const std::vector<CsvRow>& rows);

// The rows of the samples: a sample taken from a suspend until the resume
// after it was taken asleep.
std::vector<CsvRow> CsvRowsOf(const std::vector<HistorySample>& samples,
                              const std::vector<SleepPeriod>& sleeps);

// Writes the file, replacing one of that name; a failure throws the I/O
// error of the system's code.
void SaveCsvFile(const std::string& path, const std::string& bytes);

// The save dialog as it first opens: the program's folder and a name with
// the day's date.
FileDialogRequest CsvDialogRequest();
// Asks for a file and writes the day's figures to it; `dialog` keeps the
// chosen name for the next time. False when the user cancelled.
bool ExportHistoryCsv(const History& history, FileDialogRequest& dialog);
