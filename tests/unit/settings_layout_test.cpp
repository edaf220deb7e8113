#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_layout.h"

namespace {
std::vector<std::string> Names(const std::vector<int>& ids) {
  std::vector<std::string> names;
  for (int id : ids) names.push_back(DesignedControl(id).name);
  return names;
}
}  // namespace

TEST(SettingsLayout, TabVisitsThePageThenEachContainerWhereItStands) {
  const std::vector<std::string> expected = {
      "PageControl1", "cbSaveLog",  "edSavePath",   "cbDateLog",  "edWavePower",
      "edWaveRes",    "cbWavePower", "cbWaveRes",   "btnWavePower", "btnWaveRes",
      "btnSavePath",  "edMemLimit",  "cbSuspendLog", "edBatteryLimit", "cbTopPrograms",
      "cbAlertOnce",  "Button1"};
  EXPECT_EQ(Names(TabSequence(SettingsControls())), expected);
}

TEST(SettingsLayout, TabOrderComesFromTheOrderNumbersNotTheTable) {
  // Two containers listed in reverse: their tab order still decides.
  const std::vector<ControlDesign> controls = {
      {"second", 2, ControlKind::Panel, kNoControl, 0, 0, 1, 1, "", 1, 0},
      {"inSecond", 3, ControlKind::Edit, 2, 0, 0, 1, 1, "", 0, 0},
      {"label", 4, ControlKind::Label, 2, 0, 0, 1, 1, "", kNoTabStop, 0},
      {"first", 5, ControlKind::GroupBox, kNoControl, 0, 0, 1, 1, "", 0, 0},
      {"b", 6, ControlKind::Button, 5, 0, 0, 1, 1, "", 1, 0},
      {"a", 7, ControlKind::CheckBox, 5, 0, 0, 1, 1, "", 0, 0},
  };
  EXPECT_EQ(TabSequence(controls), (std::vector<int>{7, 6, 3}));
}
