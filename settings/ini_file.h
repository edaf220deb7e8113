#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The settings file: "Tessaril.ini" in the executable's folder, built afresh
// at every call.
std::string SettingsFilePath();

// One load or one save of the settings file, in section "main" unless a
// call names another. Opening
// reads and creates nothing; every call is one private-profile call, and
// the platform is asked to write out cached changes when the accessor goes.
class IniFile {
 public:
  explicit IniFile(std::string path);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // At most 2047 bytes of the value; `def` when there is no value.
  std::string ReadString(const std::string& key, const std::string& def);
  // `def` when the value is missing or not an integer text.
  std::int32_t ReadInteger(const std::string& key, std::int32_t def);
  // An integer that is not zero.
  bool ReadBool(const std::string& key, bool def);

  // Each throws "<path> に書き込めません" when the platform refuses.
  void WriteString(const std::string& key, const std::string& value);
  void WriteInteger(const std::string& key, std::int32_t value);
  void WriteBool(const std::string& key, bool value);

  // The same in another section.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def);
  std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t def);
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
  // Removes the section; throws as a refused write does when `keys` are
  // still there afterwards.
  void EraseSection(const std::string& section, const std::vector<std::string>& keys);

 private:
  std::string path_;
};
