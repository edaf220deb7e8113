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

// The graph's figure has all 64 bits in both builds: past 4095 MB where the
// machine has that much available.
TEST(Win32MemorySource, PhysicalFigureGoesPast4095Megabytes) {
  MEMORYSTATUSEX full = {};
  full.dwLength = sizeof full;
  ASSERT_TRUE(GlobalMemoryStatusEx(&full));
  const PhysicalMemory reported = Win32MemorySource().Physical();
  EXPECT_EQ(reported.totalBytes, full.ullTotalPhys);
  if ((full.ullAvailPhys >> 20) < 4096 + 512)
    GTEST_SKIP() << "only " << (full.ullAvailPhys >> 20) << " MB available";
  EXPECT_GT(reported.availBytes >> 20, 4095u);
}
