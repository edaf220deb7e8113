#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

inline constexpr std::uint32_t kMemoryCheckIntervalMs = 60000;

// Available megabytes: whole mebibytes of the unsigned 32-bit byte count.
inline std::uint32_t AvailableMegabytes(std::uint32_t availBytes) { return availBytes >> 20; }

// "使用可能メモリが200MBを切りました": the alert text that is logged.
std::string MemoryAlertText(std::uint32_t limitMb);

// The alert text, then "(現在150MB)" and the request to close applications.
std::string MemoryDialogText(std::uint32_t limitMb, std::uint32_t availMb);

// Whether a check below the limit alerts: with `once`, not again until a
// check has found enough memory.
class AlertGate {
 public:
  bool Due(bool below, bool once);

 private:
  bool alerted_ = false;
};

// "\r\n\r\nメモリ使用量の多いプログラム:" and a line "\r\nname.exe 300MB" for
// each of the three processes of the same user with the most private bytes,
// the program itself (`self`) left out; empty when there is none.
std::string TopProgramsText(std::vector<ProcessMemory> processes, std::uint32_t self);

// The alert box's text: the dialog text, then the programs to close when
// that is chosen and the listing succeeds.
std::string AlertBoxText(std::uint32_t limitMb, std::uint32_t availMb);

// Measures once and, below the limit, plays the alert sound, shows the
// information dialog and logs the alert, with Form1's timer off meanwhile.
void CheckMemory();
