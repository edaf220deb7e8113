#pragma once
#include <cstddef>
#include <string>

#include "platform/types.h"

// The longest path, in bytes, that the platform's file calls accept.
inline constexpr std::size_t kMaxPathBytes = 259;

class FileHandle;

// "yyyymmdd" of the date, as the program's file names carry it.
std::string DateDigits(const LocalTime& date);

// `savePath` with "_yyyymmdd" of `date` put before its extension.
std::string DatedLogFileName(const std::string& savePath, const LocalTime& date);

// The log file to write now: the saved path, or the day's file when one file
// per day is chosen.
std::string LogFileName();

// Appends the line and CR LF to the log file when logging is on. Throws
// AppError::Io with the OS error code when the file cannot be written.
void WriteLog(const std::string& line);

// Writes the bytes in one write and closes the file. Throws AppError::Io
// with the first failure: the write's, a short write as a full disk, then
// the close's.
void WriteAndClose(FileHandle& file, const std::string& bytes);
