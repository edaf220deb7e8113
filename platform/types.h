#pragma once
#include <cstdint>
#include <string>

// Opaque window reference: the logic passes windows around without knowing HWND.
using WindowId = std::uintptr_t;

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Seconds since 1970-01-01 00:00 UTC: an instant that no change of the
// time zone's offset moves.
using UtcSeconds = std::int64_t;

// Physical memory in bytes, in 64 bits: what the system tells a 32-bit
// program in full too.
struct PhysicalMemory {
  std::uint64_t availBytes = 0;
  std::uint64_t totalBytes = 0;
};

// The two bytes of the system power status record the program uses.
struct PowerStatus {
  std::uint8_t ACLineStatus = 0;
  std::uint8_t BatteryLifePercent = 0;
};

// BatteryLifePercent when the system knows no charge (no battery, say).
inline constexpr std::uint8_t kUnknownBatteryPercent = 255;

// One running process as the system's process list and memory counters
// describe it.
struct ProcessMemory {
  std::uint32_t id = 0;
  std::string name;  // the executable's file name, "notepad.exe"
  std::uint64_t privateBytes = 0;
  bool sameUser = false;  // runs as the user this program runs as
};

struct ScreenPoint {
  int x = 0, y = 0;
};

// One window message as handlers see it: id, wParam, lParam and the reply.
struct TMessage {
  std::uint32_t Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};
