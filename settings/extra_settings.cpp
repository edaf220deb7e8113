#include "settings/extra_settings.h"

#include <utility>
#include <vector>

#include "app/texts.h"
#include "settings/graph_bounds.h"
#include "settings/ini_file.h"
#include "settings/integer_text.h"

namespace {

constexpr char kKeySuspendLog[] = "SuspendLog";
constexpr char kKeyBatteryLimit[] = "BatteryLimit";
constexpr char kKeyTopPrograms[] = "TopPrograms";
constexpr char kKeyAlertOnce[] = "AlertOnce";

bool InBatteryRange(std::int32_t value) { return value >= 0 && value <= kMaxBatteryLimit; }

}  // namespace

std::optional<std::int32_t> BatteryLimitFromText(const std::string& text) {
  const std::optional<std::int32_t> value = IntegerFromText(text);
  if (!value || !InBatteryRange(*value)) return std::nullopt;
  return value;
}

bool AllOff(const ExtraSettings& s) {
  return !s.SuspendLog && s.BatteryLimit == 0 && !s.TopPrograms && !s.AlertOnce;
}

ExtraSettings ReadExtraSettings(IniFile& ini) {
  const std::string section = texts::kIniExtraSection;
  ExtraSettings s;
  s.SuspendLog = ini.ReadInteger(section, kKeySuspendLog, 0) != 0;
  const std::int32_t limit = ini.ReadInteger(section, kKeyBatteryLimit, 0);
  s.BatteryLimit = InBatteryRange(limit) ? limit : 0;
  s.TopPrograms = ini.ReadInteger(section, kKeyTopPrograms, 0) != 0;
  s.AlertOnce = ini.ReadInteger(section, kKeyAlertOnce, 0) != 0;
  return s;
}

GraphKeys TakeExtraSection(IniFile& ini) {
  const std::string section = texts::kIniExtraSection;
  GraphKeys kept;
  for (const std::string& key : GraphBoundsKeys()) {
    std::string value = ini.ReadString(section, key, "");
    if (!value.empty()) kept.emplace_back(key, std::move(value));
  }
  std::vector<std::string> keys = {kKeySuspendLog, kKeyBatteryLimit, kKeyTopPrograms,
                                   kKeyAlertOnce};
  keys.insert(keys.end(), GraphBoundsKeys().begin(), GraphBoundsKeys().end());
  ini.EraseSection(section, keys);
  return kept;
}

void PutGraphKeys(IniFile& ini, const GraphKeys& keys) {
  for (const auto& [key, value] : keys) ini.WriteString(texts::kIniExtraSection, key, value);
}

void WriteExtraSettings(IniFile& ini, const ExtraSettings& s) {
  const std::string section = texts::kIniExtraSection;
  if (AllOff(s)) {
    // The graph window's keys share the section and outlive these four.
    PutGraphKeys(ini, TakeExtraSection(ini));
    return;
  }
  ini.WriteInteger(section, kKeySuspendLog, s.SuspendLog ? 1 : 0);
  ini.WriteInteger(section, kKeyBatteryLimit, s.BatteryLimit);
  ini.WriteInteger(section, kKeyTopPrograms, s.TopPrograms ? 1 : 0);
  ini.WriteInteger(section, kKeyAlertOnce, s.AlertOnce ? 1 : 0);
}
