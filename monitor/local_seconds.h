#pragma once
#include <cstdint>

#include "platform/types.h"

// Seconds of local time counted from 1970-01-01 00:00 of the same clock: the
// graph's labels and day lines are in local time, so its axis is too.
using LocalSeconds = std::int64_t;

inline constexpr LocalSeconds kSecondsPerHour = 3600;
inline constexpr LocalSeconds kSecondsPerDay = 24 * kSecondsPerHour;

LocalSeconds SecondsOf(const LocalTime& time);
LocalTime LocalTimeOf(LocalSeconds seconds);
