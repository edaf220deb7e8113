#include "monitor/power_event.h"

#include "app/number_text.h"
#include "app/texts.h"
#include "monitor/battery_warning.h"
#include "monitor/event_line.h"
#include "monitor/history.h"
#include "monitor/log_file.h"
#include "monitor/suspend_time.h"
#include "platform/platform.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"

namespace {

struct EventText {
  std::uint32_t code;
  const char* text;
};

constexpr EventText kEventTexts[] = {
    {0x0000, texts::kQuerySuspend},     {0x0001, texts::kQueryStandby},
    {0x0002, texts::kQuerySuspendFailed}, {0x0003, texts::kQueryStandbyFailed},
    {0x0004, texts::kSuspend},          {0x0005, texts::kStandby},
    {0x0006, texts::kResumeCritical},   {0x0007, texts::kResumeSuspend},
    {0x0008, texts::kResumeStandby},    {0x0009, texts::kBatteryLow},
    {0x000A, texts::kPowerStatusChange}, {0x0012, texts::kResumeAutomatic},
    {0x8013, texts::kPowerSettingChange},
};

}  // namespace

std::string PowerEventText(std::uint32_t code, std::uint32_t data) {
  if (code == kOemEvent) return texts::kOemEvent + HexText(data, 4);
  for (const EventText& entry : kEventTexts)
    if (entry.code == code) return entry.text;
  return std::string();
}

std::string PowerStatusSuffix(const PowerStatus& status) {
  return std::string(OnMains(status.ACLineStatus) ? texts::kOnMains : texts::kOnBattery) +
         texts::kRemainingHead + DecimalText(status.BatteryLifePercent) + texts::kRemainingTail;
}

void TForm1::WMPowerBroadcast(TMessage& message) {
  // The system's reply comes from the default processing; a suspend request
  // is never refused.
  window_.DefaultHandler(message);

  // Event code and data are 32-bit values, whatever the width of WPARAM.
  const auto code = static_cast<std::uint32_t>(message.WParam);
  // What the event changes is recorded before any line is written: a write
  // that fails shows its box, whose loop delivers the next events (the
  // resume after a suspend) before this handler would go on.
  if (Samples != nullptr) RecordPowerEvent(*Samples, code);
  std::string text = PowerEventText(code, static_cast<std::uint32_t>(message.LParam));
  PowerStatus status;
  if (code == kPowerStatusChange) {
    status = Sys().power->Query();
    text += PowerStatusSuffix(status);
  }
  if (text.empty()) return;
  const std::string suspendTime = SuspendTimeNote(LastSuspend, code);
  if (code == kPowerStatusChange) CheckBattery(Battery, status);

  if (MonitorSettings.WavePower && Sys().files->FileExists(MonitorSettings.WavePowerFile))
    Sys().sound->PlayAsync(MonitorSettings.WavePowerFile);

  const std::string line = EventLine(text);
  WriteLog(line);
  Memo1.AppendLine(line);
  if (!suspendTime.empty()) {
    const std::string suspendLine = EventLine(suspendTime);
    WriteLog(suspendLine);
    Memo1.AppendLine(suspendLine);
  }
}
