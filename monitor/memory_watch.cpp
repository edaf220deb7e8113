#include "monitor/memory_watch.h"

#include <algorithm>
#include <exception>

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

bool AlertGate::Due(bool below, bool once) {
  if (!below) {
    alerted_ = false;
    return false;
  }
  if (once && alerted_) return false;
  alerted_ = true;
  return true;
}

std::string TopProgramsText(std::vector<ProcessMemory> processes, std::uint32_t self) {
  constexpr std::size_t kShown = 3;
  const auto notShown = [self](const ProcessMemory& p) { return !p.sameUser || p.id == self; };
  processes.erase(std::remove_if(processes.begin(), processes.end(), notShown), processes.end());
  if (processes.empty()) return std::string();
  std::stable_sort(processes.begin(), processes.end(),
                   [](const ProcessMemory& a, const ProcessMemory& b) {
                     return a.privateBytes > b.privateBytes;
                   });
  std::string text = texts::kTopProgramsHead;
  for (std::size_t i = 0; i < processes.size() && i < kShown; ++i)
    text += texts::kLineEnd + processes[i].name + " " +
            DecimalText(static_cast<std::uint32_t>(processes[i].privateBytes >> 20)) +
            texts::kMegabytes;  // whole MB
  return text;
}

std::string AlertBoxText(std::uint32_t limitMb, std::uint32_t availMb) {
  const std::string text = MemoryDialogText(limitMb, availMb);
  if (!MonitorSettings.Extra.TopPrograms) return text;
  // The listing allocates, and it runs when memory is short: if it fails,
  // the alert itself still shows.
  try {
    return text +
           TopProgramsText(Sys().processes->Processes(), Sys().processes->CurrentProcessId());
  } catch (const std::exception&) {
    return text;
  }
}

void CheckMemory() {
  // One measurement serves both the comparison and the dialog text.
  const std::uint32_t avail = AvailableMegabytes(Sys().memory->AvailPhysBytes());
  // The limit's 32 bits are read unsigned: a negative limit is a huge one.
  const auto limit = static_cast<std::uint32_t>(MonitorSettings.MemoryLimit);
  if (!Form1->MemoryAlert.Due(avail < limit, MonitorSettings.Extra.AlertOnce)) return;
  // Built while the timer still runs: nothing between switching it off and
  // the box may fail.
  const std::string boxText = AlertBoxText(limit, avail);

  if (MonitorSettings.WaveRes && Sys().files->FileExists(MonitorSettings.WaveResFile))
    Sys().sound->PlayAsync(MonitorSettings.WaveResFile);

  // Off while the dialog is open, so no second alert starts inside its loop;
  // on again however the alert ends: a log that cannot be written this
  // minute is reported, and must not end the watch for the session.
  Form1->Timer1.SetEnabled(false);
  try {
    Sys().dialogs->ShowMessage(0, boxText, texts::kInformationCaption, MessageKind::Information);
    WriteLog(EventLine(MemoryAlertText(limit)));
  } catch (...) {
    Form1->Timer1.SetEnabled(true);
    throw;
  }
  Form1->Timer1.SetEnabled(true);
}

void TForm1::Timer1Timer() { CheckMemory(); }
