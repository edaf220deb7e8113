#include "monitor/sjis_path.h"

bool IsSjisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

namespace {

// Calls visit(index) for the first byte of every character. A lead byte at
// the very end stands alone.
template <typename Visit>
void ForEachCharacter(const std::string& text, std::size_t from, Visit visit) {
  for (std::size_t i = from; i < text.size();) {
    visit(i);
    i += (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
  }
}

}  // namespace

std::string DirectoryPart(const std::string& path) {
  std::size_t end = 0;
  ForEachCharacter(path, 0, [&](std::size_t i) {
    if (path[i] == '\\' || path[i] == ':') end = i + 1;
  });
  return path.substr(0, end);
}

std::size_t LastDotFrom(const std::string& text, std::size_t from) {
  std::size_t dot = std::string::npos;
  ForEachCharacter(text, from, [&](std::size_t i) {
    if (text[i] == '.') dot = i;
  });
  return dot;
}
