#include "monitor/battery_warning.h"

#include "app/number_text.h"
#include "app/texts.h"
#include "monitor/event_line.h"
#include "monitor/log_file.h"
#include "monitor/power_event.h"
#include "platform/platform.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"

bool BatteryWarning::Due(const PowerStatus& status, std::int32_t limit) {
  if (limit <= 0) return false;
  const bool known = status.BatteryLifePercent != kUnknownBatteryPercent;
  if (OnMains(status.ACLineStatus) || (known && status.BatteryLifePercent > limit)) {
    ready_ = true;
    return false;
  }
  if (!known) return false;
  const bool due = ready_;
  ready_ = false;
  return due;
}

std::string BatteryAlertText(std::int32_t limit) {
  return texts::kBatteryLimitHead + SignedDecimalText(limit) + texts::kBatteryAlertTail;
}

std::string BatteryDialogText(std::int32_t limit, std::uint8_t percent) {
  return BatteryAlertText(limit) + texts::kMemoryDialogMiddle + DecimalText(percent) +
         texts::kBatteryDialogEnd;
}

void CheckBattery(BatteryWarning& state, const PowerStatus& status) {
  const std::int32_t limit = MonitorSettings.Extra.BatteryLimit;
  // Spent now: a status change before the box opens finds it so.
  if (state.Due(status, limit)) Form1->PostBatteryWarning(limit, status.BatteryLifePercent);
}

void ShowBatteryWarning(std::int32_t limit, std::uint8_t percent) {
  if (MonitorSettings.WaveRes && Sys().files->FileExists(MonitorSettings.WaveResFile))
    Sys().sound->PlayAsync(MonitorSettings.WaveResFile);
  Sys().dialogs->ShowMessage(0, BatteryDialogText(limit, percent), texts::kInformationCaption,
                             MessageKind::Information);
  WriteLog(EventLine(BatteryAlertText(limit)));
}
