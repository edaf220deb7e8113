#include "platform/win32/win32_platform.h"

#include <cstring>

#ifndef _WIN64
static_assert(sizeof(MEMORYSTATUS) == 32, "the 32-bit program's memory record is 32 bytes");
#endif

PowerStatus Win32PowerSource::Query() {
  SYSTEM_POWER_STATUS record;
  std::memset(&record, 0, sizeof record);
  GetSystemPowerStatus(&record);
  PowerStatus status;
  status.ACLineStatus = record.ACLineStatus;
  status.BatteryLifePercent = record.BatteryLifePercent;
  return status;
}

std::uint32_t Win32MemorySource::AvailPhysBytes() {
  MEMORYSTATUS record;
  std::memset(&record, 0, sizeof record);
  record.dwLength = sizeof record;
  GlobalMemoryStatus(&record);
  // The 64-bit build reports what a 32-bit program sees: at most 4 GB - 1.
  const unsigned long long avail = record.dwAvailPhys;
  return avail > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(avail);
}

PhysicalMemory Win32MemorySource::Physical() {
  MEMORYSTATUSEX record;
  std::memset(&record, 0, sizeof record);
  record.dwLength = sizeof record;
  PhysicalMemory memory;
  if (GlobalMemoryStatusEx(&record)) {
    memory.availBytes = record.ullAvailPhys;
    memory.totalBytes = record.ullTotalPhys;
  }
  return memory;
}
