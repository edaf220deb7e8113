#pragma once
#include <string>

#include "platform/types.h"

// "yyyy/mm/dd hh:nn:ss" with the given separators standing for "/" and ":".
std::string FormatTimestamp(const LocalTime& time, const std::string& dateSeparator,
                            const std::string& timeSeparator);

// Timestamp, " >> ", text.
std::string FormatEventLine(const LocalTime& time, const std::string& dateSeparator,
                            const std::string& timeSeparator, const std::string& text);

// The event line of `text` at the current local time, with the user's
// separators ("/" and ":" where the regional settings give none).
std::string EventLine(const std::string& text);
