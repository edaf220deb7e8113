#include "shell/history_csv.h"

#include <algorithm>
#include <memory>

#include "app/error.h"
#include "app/number_text.h"
#include "app/texts.h"
#include "monitor/event_line.h"
#include "monitor/log_file.h"
#include "monitor/sjis_path.h"

std::string CsvHeader() {
  // The graph's own names for its figures.
  return std::string(texts::kCsvTimeTitle) + texts::kCsvSeparator + texts::kGraphMemoryTitle +
         texts::kCsvSeparator + texts::kGraphMains + texts::kCsvSeparator +
         texts::kGraphBatteryTitle + texts::kCsvSeparator + texts::kGraphSleep;
}

std::string CsvLine(const CsvRow& row) {
  // A fixed layout, whatever the regional separators: spreadsheets read it.
  return FormatTimestamp(row.time, texts::kDefaultDateSeparator, texts::kDefaultTimeSeparator) +
         texts::kCsvSeparator + DecimalText(row.availMB) + texts::kCsvSeparator +
         DecimalText(row.mains) + texts::kCsvSeparator + DecimalText(row.batteryPercent) +
         texts::kCsvSeparator + (row.asleep ? "1" : "0");
}

std::string HistoryCsv(const std::vector<CsvRow>& rows) {
  std::string text = CsvHeader() + texts::kLineEnd;
  for (const CsvRow& row : rows) text += CsvLine(row) + texts::kLineEnd;
  return text;
}

std::vector<CsvRow> CsvRowsOf(const std::vector<HistorySample>& samples,
                              const std::vector<SleepPeriod>& sleeps) {
  std::vector<CsvRow> rows;
  rows.reserve(samples.size());
  for (const HistorySample& s : samples) {
    CsvRow row;
    row.time = LocalTimeAt(s.time);
    row.availMB = s.availMB;
    row.mains = s.acLineStatus;
    row.batteryPercent = s.batteryPercent;
    row.asleep = std::any_of(sleeps.begin(), sleeps.end(), [&](const SleepPeriod& p) {
      return p.start <= s.time && (p.open || s.time < p.end);
    });
    rows.push_back(row);
  }
  return rows;
}

void SaveCsvFile(const std::string& path, const std::string& bytes) {
  std::uint32_t error = 0;
  std::unique_ptr<FileHandle> file = Sys().files->Replace(path, error);
  if (!file) throw AppError::Io(error);
  WriteAndClose(*file, bytes);
}

FileDialogRequest CsvDialogRequest() {
  const LocalTime today = Sys().clock->Now();
  FileDialogRequest dialog;
  dialog.save = true;
  dialog.confirmOverwrite = true;
  dialog.title = texts::kCsvDialogTitle;
  dialog.filter = texts::kCsvDialogFilter;
  dialog.defaultExt = texts::kCsvDialogDefaultExt;
  dialog.fileName = DirectoryPart(Sys().files->ModuleFileName()) + texts::kCsvFileHead +
                    DateDigits(today) + texts::kCsvFileTail;
  return dialog;
}

bool ExportHistoryCsv(const History& history, FileDialogRequest& dialog) {
  FileDialogRequest request = dialog;
  if (!Sys().dialogs->RunFileDialog(request)) return false;
  dialog.fileName = request.fileName;
  // The figures as they are once the file is chosen, the newest included.
  const UtcSeconds now = Sys().clock->UtcNow();
  SaveCsvFile(request.fileName, HistoryCsv(CsvRowsOf(history.Samples(now), history.Sleeps(now))));
  return true;
}
