#include <gtest/gtest.h>

#include <cstdio>

#include "platform/win32/win32_platform.h"

// The memory watch works on an unsigned 32-bit byte count. The 32-bit exe is
// large-address-aware, so GlobalMemoryStatus tells it up to 4095 MB, not the
// 2047 MB a plain 32-bit program is told; the 64-bit build saturates there.
TEST(Win32MemorySource, ReportsUpTo4095MegabytesInBothBuilds) {
  MEMORYSTATUSEX full = {};
  full.dwLength = sizeof full;
  ASSERT_TRUE(GlobalMemoryStatusEx(&full));
  const unsigned long long expectedMb =
      (full.ullAvailPhys > 0xFFFFFFFFull ? 0xFFFFFFFFull : full.ullAvailPhys) >> 20;

  const std::uint32_t reportedMb = Win32MemorySource().AvailPhysBytes() >> 20;
  std::printf("available: %u MB reported to the watch (%llu MB in the 64-bit figure)\n",
              reportedMb, static_cast<unsigned long long>(full.ullAvailPhys >> 20));
  // Free memory moves a little between the two calls.
  EXPECT_NEAR(static_cast<double>(reportedMb), static_cast<double>(expectedMb), 256.0);
  if (expectedMb <= 2048) {
    GTEST_SKIP() << "only " << expectedMb
                 << " MB available: the 2 GB ceiling of a plain 32-bit exe can't be told apart";
  }
  EXPECT_GT(reportedMb, 2047u) << "the 2 GB ceiling of a plain 32-bit exe";
}
