#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class IniFile;

// The settings of the 拡張 page, kept in section "extra" of the settings
// file. Each is 0 (off) by default, and while all are, the section is not
// in the file at all, so an older copy of the program meets the file it knows.
struct ExtraSettings {
  bool SuspendLog = false;
  std::int32_t BatteryLimit = 0;  // percent; 0 switches the warning off
  bool TopPrograms = false;
  bool AlertOnce = false;
};

inline constexpr std::int32_t kMaxBatteryLimit = 99;

// The battery limit a text gives by the integer text rule; empty unless it
// lies within 0 to 99.
std::optional<std::int32_t> BatteryLimitFromText(const std::string& text);

bool AllOff(const ExtraSettings& settings);

// Missing, invalid and out-of-range values read as 0.
ExtraSettings ReadExtraSettings(IniFile& ini);
// Writes the four keys, or removes them when all are 0: the section goes
// unless the graph window keeps its place there.
void WriteExtraSettings(IniFile& ini, const ExtraSettings& settings);

// The graph window's keys that hold a value, in their order.
using GraphKeys = std::vector<std::pair<std::string, std::string>>;
// Removes section "extra", giving back the graph window's keys to be put
// again where a new section goes: at the end of the file.
GraphKeys TakeExtraSection(IniFile& ini);
void PutGraphKeys(IniFile& ini, const GraphKeys& keys);
