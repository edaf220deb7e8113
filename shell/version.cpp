#include "shell/version.h"

#include <cstring>
#include <vector>

#include "app/number_text.h"
#include "app/texts.h"
#include "platform/platform.h"

std::string VersionKey(std::uint32_t translation) {
  const std::string digits = HexText(translation, 8);  // code page digits first
  return digits.substr(4, 4) + digits.substr(0, 4);
}

std::string TrimBlanks(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
  return text.substr(begin, end - begin);
}

std::string GetFileVersionString(const std::string& fileName) {
  VersionInfo& version = *Sys().version;
  const std::uint32_t size = version.BlockSize(fileName);
  if (size == 0) return texts::kNoVersion;
  std::vector<char> block(size + 1);
  // A failed read leaves the buffer unfilled: nothing may be built from it.
  if (!version.ReadBlock(fileName, size, block.data())) return texts::kNoVersion;

  std::uint32_t length = 0;
  const void* translation = version.Query(block.data(), "\\VarFileInfo\\Translation", length);
  if (length == 0 || translation == nullptr) return texts::kNoVersion;
  std::uint32_t pair = 0;
  std::memcpy(&pair, translation, length < sizeof pair ? length : sizeof pair);

  const std::string path = "\\StringFileInfo\\" + VersionKey(pair) + "\\FileVersion";
  const void* value = version.Query(block.data(), path, length);
  if (length == 0 || value == nullptr) return texts::kNoVersion;
  // Up to the terminator, and never past the reported length or the block.
  const char* text = static_cast<const char*>(value);
  const char* blockEnd = block.data() + size;
  std::size_t limit = length;
  if (text >= block.data() && text < blockEnd && static_cast<std::size_t>(blockEnd - text) < limit)
    limit = static_cast<std::size_t>(blockEnd - text);
  std::size_t count = 0;
  while (count < limit && text[count] != '\0') ++count;
  return TrimBlanks(std::string(text, count));
}
