#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

// Whether the battery warning may come: ready at the start, spent by a
// warning, ready again once the machine is on mains or charged above the
// limit, so one discharge gives one warning.
class BatteryWarning {
 public:
  // True when this reading, on battery with a known charge at or below the
  // limit, is the crossing that warrants a warning. A limit of 0 is off.
  bool Due(const PowerStatus& status, std::int32_t limit);

 private:
  bool ready_ = true;
};

// "バッテリ残量が20%以下になりました": the warning that is logged.
std::string BatteryAlertText(std::int32_t limit);

// The warning, then "(現在18%)" and the request to connect the mains.
std::string BatteryDialogText(std::int32_t limit, std::uint8_t percent);

// At a status change or the start: with the limit set and the charge just
// fallen to it, posts the warning to Form1. Its box must not open inside
// the power broadcast, whose reply the system would wait for.
void CheckBattery(BatteryWarning& state, const PowerStatus& status);

// The posted warning: plays the alert sound, shows the box and logs it.
void ShowBatteryWarning(std::int32_t limit, std::uint8_t percent);
