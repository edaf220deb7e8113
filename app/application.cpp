#include "app/application.h"

#include "app/error.h"
#include "monitor/sjis_path.h"
#include "platform/platform.h"

TApplication* Application = nullptr;

std::string ApplicationTitle(const std::string& moduleFileName) {
  std::string name = moduleFileName.substr(DirectoryPart(moduleFileName).size());
  const std::size_t dot = name.find('.');  // '.' is never a Shift-JIS trail byte
  if (dot != std::string::npos) name.resize(dot);
  // Lower-case single-byte letters only; a trail byte in 'A'..'Z' stays.
  for (std::size_t i = 0; i < name.size();) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (IsSjisLeadByte(byte) && i + 1 < name.size()) {
      i += 2;
      continue;
    }
    if (i > 0 && byte >= 'A' && byte <= 'Z') name[i] = static_cast<char>(byte - 'A' + 'a');
    ++i;
  }
  return name;
}

void TApplication::ShowException(const std::exception& error) {
  Sys().dialogs->ShowMessage(0, ErrorReportText(error.what()), Title, MessageKind::Error);
}
