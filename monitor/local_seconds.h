#pragma once
#include <cstdint>

#include "platform/types.h"

// Seconds of a calendar time counted from 1970-01-01 00:00 of the same
// clock: day arithmetic on local times, and the local position of an
// instant for the graph's labels and day lines.
using LocalSeconds = std::int64_t;

inline constexpr LocalSeconds kSecondsPerHour = 3600;
inline constexpr LocalSeconds kSecondsPerDay = 24 * kSecondsPerHour;

LocalSeconds SecondsOf(const LocalTime& time);
LocalTime LocalTimeOf(LocalSeconds seconds);

// The local calendar time of an instant, by the platform clock's time zone
// rule for that date: samples are stamped in UTC, shown in local time.
LocalTime LocalTimeAt(UtcSeconds time);
inline LocalSeconds LocalSecondsAt(UtcSeconds time) { return SecondsOf(LocalTimeAt(time)); }
