#include "monitor/log_file.h"

#include <cstdint>

#include "app/error.h"
#include "app/number_text.h"
#include "app/texts.h"
#include "monitor/sjis_path.h"
#include "platform/platform.h"
#include "settings/monitor_settings.h"

namespace {
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorPathNotFound = 3;
constexpr std::uint32_t kErrorDiskFull = 101;
constexpr std::uint32_t kErrorFileNameTooLong = 206;
}  // namespace

std::string DatedLogFileName(const std::string& savePath, const LocalTime& date) {
  const std::string folder = DirectoryPart(savePath);
  const std::string fileName = savePath.substr(folder.size());
  const std::size_t dot = LastDotFrom(fileName, 0);
  const std::string extension = dot == std::string::npos ? "" : fileName.substr(dot);
  const std::string baseName = fileName.substr(0, fileName.size() - extension.size());
  return folder + baseName + "_" + DateDigits(date) + extension;
}

std::string DateDigits(const LocalTime& date) {
  return PaddedDecimalText(static_cast<std::uint32_t>(date.year), 4) +
         PaddedDecimalText(static_cast<std::uint32_t>(date.month), 2) +
         PaddedDecimalText(static_cast<std::uint32_t>(date.day), 2);
}

std::string LogFileName() {
  if (!MonitorSettings.DateLog) return MonitorSettings.SavePath;
  return DatedLogFileName(MonitorSettings.SavePath, Sys().clock->Now());
}

void WriteLog(const std::string& line) {
  if (!MonitorSettings.SaveLog) return;
  // Only a hand-edited settings file gives an empty path; never create "",
  // nor the bare date that one file per day would make of it.
  if (MonitorSettings.SavePath.empty()) throw AppError::Io(kErrorPathNotFound);
  const std::string path = LogFileName();
  if (path.size() > kMaxPathBytes) throw AppError::Io(kErrorFileNameTooLong);

  FileSystem& files = *Sys().files;
  std::uint32_t error = 0;
  std::unique_ptr<FileHandle> file = files.OpenForAppend(path, error);
  if (!file) {
    // Only a file that is not there is created. A file that exists but
    // cannot be opened (read-only, held by another program) keeps its bytes:
    // the failure is reported instead of emptying it.
    if (error != kErrorFileNotFound) throw AppError::Io(error);
    file = files.CreateNew(path, error);
    if (!file) throw AppError::Io(error);
  }

  // The line and its CR LF go out in one write, so the file only ever holds
  // whole lines.
  WriteAndClose(*file, line + texts::kLineEnd);
}

void WriteAndClose(FileHandle& file, const std::string& bytes) {
  std::size_t written = 0;
  const std::uint32_t writeError = file.Write(bytes, written);
  const std::uint32_t closeError = file.Close();
  if (writeError != 0) throw AppError::Io(writeError);
  if (written < bytes.size()) throw AppError::Io(kErrorDiskFull);
  if (closeError != 0) throw AppError::Io(closeError);
}
