#include "monitor/memory_watch.h"

#include "app/number_text.h"
#include "app/texts.h"
#include "monitor/event_line.h"
#include "monitor/log_file.h"
#include "platform/platform.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"

std::string MemoryAlertText(std::uint32_t limitMb) {
  return texts::kMemoryAlertHead + DecimalText(limitMb) + texts::kMemoryAlertTail;
}

std::string MemoryDialogText(std::uint32_t limitMb, std::uint32_t availMb) {
  return MemoryAlertText(limitMb) + texts::kMemoryDialogMiddle + DecimalText(availMb) +
         texts::kMemoryDialogEnd;
}

void CheckMemory() {
  // One measurement serves both the comparison and the dialog text.
  const std::uint32_t avail = AvailableMegabytes(Sys().memory->AvailPhysBytes());
  // The limit's 32 bits are read unsigned: a negative limit is a huge one.
  const auto limit = static_cast<std::uint32_t>(MonitorSettings.MemoryLimit);
  if (avail >= limit) return;

  if (MonitorSettings.WaveRes && Sys().files->FileExists(MonitorSettings.WaveResFile))
    Sys().sound->PlayAsync(MonitorSettings.WaveResFile);

  // Off while the dialog is open, so no second alert starts inside its loop.
  Form1->Timer1.SetEnabled(false);
  Sys().dialogs->ShowMessage(0, MemoryDialogText(limit, avail), texts::kInformationCaption,
                             MessageKind::Information);
  WriteLog(EventLine(MemoryAlertText(limit)));
  Form1->Timer1.SetEnabled(true);
}

void TForm1::Timer1Timer() { CheckMemory(); }
