#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

inline constexpr std::uint32_t WM_POWERBROADCAST_ID = 0x218;
inline constexpr std::uint32_t kPowerStatusChange = 0x000A;
inline constexpr std::uint32_t kOemEvent = 0x000B;

// The message text of an event code; empty for a code the program does not
// know. For a status change this is the text before the status suffix.
std::string PowerEventText(std::uint32_t code, std::uint32_t data);

// The program's one reading of ACLineStatus: any value but 0, the unknown
// 255 included, is mains. The event line and the graph both use it.
inline bool OnMains(std::uint8_t acLineStatus) { return acLineStatus != 0; }

// "(ACアダプタ) [残85%]" and the like.
std::string PowerStatusSuffix(const PowerStatus& status);
