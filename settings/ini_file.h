#pragma once
#include <cstdint>
#include <string>

// The settings file: "Tessaril.ini" in the executable's folder, built afresh
// at every call.
std::string SettingsFilePath();

// One load or one save of the settings file, in section "main". Opening
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

 private:
  std::string path_;
};
