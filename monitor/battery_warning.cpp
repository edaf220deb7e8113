#include "monitor/battery_warning.h"

#include "app/number_text.h"
#include "app/texts.h"
#include "monitor/event_line.h"
#include "monitor/log_file.h"
#include "platform/platform.h"
#include "settings/monitor_settings.h"

bool BatteryWarning::Due(const PowerStatus& status, std::int32_t limit) {
  if (limit <= 0) return false;
  const bool known = status.BatteryLifePercent != kUnknownBatteryPercent;
  if (status.ACLineStatus != 0 || (known && status.BatteryLifePercent > limit)) {
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
  // Spent before the box opens: a status change inside its loop finds it so.
  if (!state.Due(status, limit)) return;
  if (MonitorSettings.WaveRes && Sys().files->FileExists(MonitorSettings.WaveResFile))
    Sys().sound->PlayAsync(MonitorSettings.WaveResFile);
  Sys().dialogs->ShowMessage(0, BatteryDialogText(limit, status.BatteryLifePercent),
                             texts::kInformationCaption, MessageKind::Information);
  WriteLog(EventLine(BatteryAlertText(limit)));
}
