#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

// The machine the program runs on, as Wine reads it: the battery and the
// mains from /sys/class/power_supply, the available memory from
// /proc/meminfo. Each end-to-end test runs in a mount namespace where both
// are files of its own (laptop.sh), so a test can put the program on a
// laptop and change it while the program runs: the next query sees it.
class Laptop {
 public:
  // Why the machine cannot be set here; nothing when it can.
  static std::optional<std::string> Unavailable();

  // Discharging, the mains off line: ACLineStatus 0.
  void OnBattery(int percent) const;
  // Charging, the mains on line: ACLineStatus 1.
  void OnMains(int percent) const;
  // No supply at all, as on a desktop: ACLineStatus 1, charge unknown (255).
  void NoBattery() const;
  // Free memory with no buffers or cache: Wine reports exactly this many MB
  // available, also above 4 GB.
  void FreeMemory(std::uint64_t megabytes) const;
  // Back to no battery and the real machine's memory figures of the start.
  void Reset() const;
};

// Tests that set the machine; where it cannot be set they are skipped, with
// the reason.
class LaptopTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override { laptop.Reset(); }
  Laptop laptop;
};
