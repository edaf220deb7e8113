#pragma once
#include <cstdint>
#include <string>

#include "settings/extra_settings.h"

// The runtime copy of the settings. Only ApplySettings writes it; every reader
// reads it afresh at each event.
struct TMonitorSettings {
  std::int32_t MemoryLimit = 0;  // megabytes; compared and printed unsigned
  std::string SavePath;
  bool WavePower = false;
  bool WaveRes = false;
  bool SaveLog = false;
  bool DateLog = false;
  std::string WavePowerFile;
  std::string WaveResFile;
  ExtraSettings Extra;
};

extern TMonitorSettings MonitorSettings;
