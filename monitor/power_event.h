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

// "(ACアダプタ) [残85%]" and the like.
std::string PowerStatusSuffix(const PowerStatus& status);
