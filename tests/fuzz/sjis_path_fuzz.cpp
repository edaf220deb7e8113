#include <cstddef>
#include <cstdint>
#include <string>

#include "app/application.h"
#include "monitor/log_file.h"
#include "monitor/sjis_path.h"
#include "tests/fuzz/fuzz_check.h"

// Log file names and directory parts over arbitrary bytes: Shift-JIS pairs
// whose trail byte is "\" (0x5C), lone lead bytes at the end, and bytes that
// are no valid Shift-JIS at all.

namespace {

constexpr LocalTime kDate{2026, 12, 7, 23, 59, 59};
const std::string kDay = "_20261207";

// Well-formed Shift-JIS made from the input, with the places the splitting
// must find, known from how it was built: the end of the folder and the
// last "." of the file name.
struct BuiltPath {
  std::string path;
  std::size_t folderEnd = 0;
  std::size_t lastDot = std::string::npos;
};

BuiltPath Build(const std::uint8_t* data, std::size_t size) {
  BuiltPath built;
  for (std::size_t i = 0; i < size;) {
    const std::uint8_t byte = data[i++];
    const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    if (lead) {
      built.path += static_cast<char>(byte);
      if (i == size) break;  // a lone lead byte at the end
      // Trail bytes run 0x40..0xFC without 0x7F; 0x7F becomes "\" so that
      // trail bytes equal to the separator come up often.
      std::uint8_t trail = static_cast<std::uint8_t>(0x40 + data[i++] % (0xFC - 0x40 + 1));
      if (trail == 0x7F) trail = '\\';
      built.path += static_cast<char>(trail);
      continue;
    }
    if (byte == '\\' || byte == ':') {
      built.folderEnd = built.path.size() + 1;
      built.lastDot = std::string::npos;
    } else if (byte == '.') {
      built.lastDot = built.path.size();
    }
    built.path += static_cast<char>(byte);
  }
  return built;
}

void CheckBuilt(const BuiltPath& built) {
  const std::string& path = built.path;
  FUZZ_CHECK(DirectoryPart(path) == path.substr(0, built.folderEnd));
  FUZZ_CHECK(LastDotFrom(path, built.folderEnd) == built.lastDot);
  const std::size_t extension = built.lastDot == std::string::npos ? path.size() : built.lastDot;
  FUZZ_CHECK(DatedLogFileName(path, kDate) ==
             path.substr(0, extension) + kDay + path.substr(extension));
}

// Any bytes at all: the parts fit together, and the date moves no separator.
void CheckRaw(const std::string& path) {
  const std::string folder = DirectoryPart(path);
  FUZZ_CHECK(path.compare(0, folder.size(), folder) == 0);
  FUZZ_CHECK(folder.empty() || folder.back() == '\\' || folder.back() == ':');
  // The folder ends at a character boundary, so the rest, read on its own,
  // holds no separator: the one found was the last.
  const std::string fileName = path.substr(folder.size());
  FUZZ_CHECK(DirectoryPart(fileName).empty());

  const std::string dated = DatedLogFileName(path, kDate);
  FUZZ_CHECK(dated.size() == path.size() + kDay.size());
  FUZZ_CHECK(DirectoryPart(dated) == folder);

  const std::string title = ApplicationTitle(path);
  FUZZ_CHECK(title.size() <= fileName.size());
  FUZZ_CHECK(title.find('.') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckRaw(std::string(reinterpret_cast<const char*>(data), size));
  CheckBuilt(Build(data, size));
  return 0;
}
