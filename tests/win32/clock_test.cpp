#include <gtest/gtest.h>

#include "monitor/local_seconds.h"
#include "platform/win32/win32_platform.h"

// UTC and local time against the system's own clocks: the epoch and the
// units both ways (and the zone's offset, where it is not UTC).
TEST(Win32Clock, UtcAndLocalAgreeWithTheSystemClocks) {
  Win32Clock clock;
  SYSTEMTIME utc, local;
  GetSystemTime(&utc);
  const UtcSeconds now = clock.UtcNow();
  GetLocalTime(&local);
  const auto seconds = [](const SYSTEMTIME& t) {
    return static_cast<double>(
        SecondsOf({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond}));
  };
  EXPECT_NEAR(static_cast<double>(now), seconds(utc), 2.0);
  EXPECT_NEAR(static_cast<double>(SecondsOf(clock.LocalAt(now))), seconds(local), 2.0);
}
