#pragma once
#include <cstdint>
#include <string>

inline constexpr std::uint32_t kMemoryCheckIntervalMs = 60000;

// Available megabytes: whole mebibytes of the unsigned 32-bit byte count.
inline std::uint32_t AvailableMegabytes(std::uint32_t availBytes) { return availBytes >> 20; }

// "使用可能メモリが200MBを切りました": the alert text that is logged.
std::string MemoryAlertText(std::uint32_t limitMb);

// The alert text, then "(現在150MB)" and the request to close applications.
std::string MemoryDialogText(std::uint32_t limitMb, std::uint32_t availMb);

// Measures once and, below the limit, plays the alert sound, shows the
// information dialog and logs the alert, with Form1's timer off meanwhile.
void CheckMemory();
