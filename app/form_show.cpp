#include "app/form_show.h"

#include "app/application.h"
#include "app/number_text.h"
#include "app/texts.h"
#include "monitor/battery_warning.h"
#include "monitor/event_line.h"
#include "monitor/log_file.h"
#include "monitor/memory_watch.h"
#include "platform/platform.h"
#include "settings/apply_settings.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"

std::string MonitorStartText(std::int32_t memoryLimit) {
  return texts::kMonitorStartHead + DecimalText(static_cast<std::uint32_t>(memoryLimit)) +
         texts::kMegabytes;
}

void TForm1::FormShow() {
  ApplySettings();
  Application->ProcessMessages();
  if (MonitorSettings.MemoryLimit != 0) Timer1.SetEnabled(true);
  const std::string line = EventLine(MonitorStartText(MonitorSettings.MemoryLimit));
  WriteLog(line);
  Memo1.AppendLine(line);
  CheckMemory();
  if (MonitorSettings.Extra.BatteryLimit != 0) CheckBattery(Battery, Sys().power->Query());
}
