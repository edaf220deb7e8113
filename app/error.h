#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

// The one error type of the program. Every failure travels as an AppError to
// the general error report of the message loop; I/O failures carry the OS
// error code and take their text from the I/O error table.
class AppError : public std::runtime_error {
 public:
  explicit AppError(const std::string& message)
      : std::runtime_error(message), ioCode_(0) {}

  static AppError Io(std::uint32_t code);

  std::uint32_t IoCode() const { return ioCode_; }

 private:
  AppError(const std::string& message, std::uint32_t code)
      : std::runtime_error(message), ioCode_(code) {}
  std::uint32_t ioCode_;
};

// The text of the I/O failure with this OS error code.
std::string IoErrorText(std::uint32_t code);

// The text shown by the error report: "." appended when the last byte of the
// message sorts above ".".
std::string ErrorReportText(const std::string& message);
