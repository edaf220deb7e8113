#include "app/error.h"

#include "app/number_text.h"
#include "app/texts.h"

AppError AppError::Io(std::uint32_t code) { return AppError(IoErrorText(code), code); }

std::string IoErrorText(std::uint32_t code) {
  switch (code) {
    case 2: return texts::kIoFileNotFound;
    case 3: return texts::kIoBadFileName;
    case 4: return texts::kIoTooManyOpenFiles;
    case 5: return texts::kIoAccessDenied;
    case 100: return texts::kIoReadPastEnd;
    case 101: return texts::kIoDiskFull;
    case 106: return texts::kIoNotANumber;
    default:
      return std::string(texts::kIoErrorHead) + SignedDecimalText(static_cast<std::int32_t>(code)) +
             texts::kIoErrorTail;
  }
}

std::string ErrorReportText(const std::string& message) {
  std::string text = message;
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
    text += '.';
  return text;
}
