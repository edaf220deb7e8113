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
  const LocalTime calendar{utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond};
  EXPECT_NEAR(static_cast<double>(now), static_cast<double>(SecondsOf(calendar)), 2.0);
  const LocalTime shown{local.wYear, local.wMonth, local.wDay,
                        local.wHour, local.wMinute, local.wSecond};
  EXPECT_NEAR(static_cast<double>(SecondsOf(clock.LocalAt(now))),
              static_cast<double>(SecondsOf(shown)), 2.0);
}
