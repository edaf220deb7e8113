#include "settings/ini_file.h"

#include <utility>

#include "app/error.h"
#include "app/number_text.h"
#include "app/texts.h"
#include "monitor/log_file.h"
#include "monitor/sjis_path.h"
#include "platform/platform.h"
#include "settings/integer_text.h"

std::string SettingsFilePath() {
  return DirectoryPart(Sys().files->ModuleFileName()) + texts::kIniFileName;
}

namespace {

// The private-profile calls take paths of at most 259 bytes. Wine does not
// refuse a longer one: it writes the value to a file of a garbled name in
// the current folder and reports success. So such a path is never handed
// on; it reads as a missing file and refuses every write.
bool Usable(const std::string& path) { return path.size() <= kMaxPathBytes; }

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

IniFile::~IniFile() {
  if (Usable(path_)) Sys().profile->Flush(path_);
}

std::string IniFile::ReadString(const std::string& key, const std::string& def) {
  return ReadString(texts::kIniSection, key, def);
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) {
  if (!Usable(path_)) return def;
  return Sys().profile->Read(path_, section, key, def);
}

std::int32_t IniFile::ReadInteger(const std::string& key, std::int32_t def) {
  return ReadInteger(texts::kIniSection, key, def);
}

std::int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                                  std::int32_t def) {
  // A value written as "0x1F" needs no rewriting to "$1F": the integer text
  // rule takes both prefixes alike.
  return IntegerFromText(ReadString(section, key, "")).value_or(def);
}

bool IniFile::ReadBool(const std::string& key, bool def) {
  return ReadInteger(key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& key, const std::string& value) {
  WriteString(texts::kIniSection, key, value);
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  if (!Usable(path_) || !Sys().profile->Write(path_, section, key, value))
    throw AppError(path_ + texts::kCannotWriteTail);
}

void IniFile::WriteInteger(const std::string& key, std::int32_t value) {
  WriteString(key, SignedDecimalText(value));
}

void IniFile::WriteInteger(const std::string& section, const std::string& key,
                           std::int32_t value) {
  WriteString(section, key, SignedDecimalText(value));
}

void IniFile::EraseSection(const std::string& section, const std::vector<std::string>& keys) {
  if (!Usable(path_)) throw AppError(path_ + texts::kCannotWriteTail);
  if (Sys().profile->DeleteSection(path_, section)) return;
  // A refusal for a section that was never there is no failure.
  for (const std::string& key : keys)
    if (!ReadString(section, key, "").empty()) throw AppError(path_ + texts::kCannotWriteTail);
}

void IniFile::WriteBool(const std::string& key, bool value) { WriteString(key, value ? "1" : "0"); }
