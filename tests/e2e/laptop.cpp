#include "tests/e2e/laptop.h"

#include <windows.h>

#include <cstdlib>
#include <sstream>
#include <utility>
#include <vector>

#include "tests/shared/driver_support_win32.h"

namespace {

// What laptop.sh bound over /sys/class/power_supply and /proc/meminfo, as
// a Windows path; empty outside such a namespace.
std::string Folder() {
  const char* folder = std::getenv("TESSARIL_LAPTOP");
  return folder == nullptr ? std::string() : WindowsPath(folder);
}

std::string SupplyFolder() { return Folder() + "\\power_supply"; }

void RemoveSupplies() {
  for (const char* supply : {"\\BAT0", "\\AC"})
    RemoveScratchFolder(SupplyFolder() + supply);
}

using Files = std::vector<std::pair<const char*, std::string>>;

void WriteSupply(const std::string& name, const Files& files) {
  const std::string folder = SupplyFolder() + "\\" + name;
  if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    Fail("cannot create " + folder);
  for (const auto& [file, value] : files) WriteWholeFile(folder + "\\" + file, value + "\n");
}

// A battery as the kernel describes one: Wine takes the percentage from
// charge_now over charge_full.
void Supplies(bool mains, int percent) {
  WriteSupply("BAT0", {{"type", "Battery"},
                       {"status", mains ? "Charging" : "Discharging"},
                       {"charge_full", "4000000"},
                       {"charge_now", std::to_string(40000L * percent)},
                       {"voltage_now", "12000000"},
                       {"current_now", "1000000"}});
  WriteSupply("AC", {{"type", "Mains"}, {"online", mains ? "1" : "0"}});
}

// The meminfo of the test's start, kept by laptop.sh's copy until the
// first change.
const std::string& RealMeminfo() {
  static const std::string text = ReadWholeFile(Folder() + "\\meminfo").value_or("");
  return text;
}

// Rewritten in place: the bind mount holds the file, not its name.
void WriteMeminfo(const std::string& text) { WriteWholeFile(Folder() + "\\meminfo", text); }

}  // namespace

std::optional<std::string> Laptop::Unavailable() {
  if (!Folder().empty()) return std::nullopt;
  const char* why = std::getenv("TESSARIL_LAPTOP_UNAVAILABLE");
  return why != nullptr ? why : "the test did not run through tests/e2e/laptop.sh";
}

void Laptop::OnBattery(int percent) const { Supplies(false, percent); }

void Laptop::OnMains(int percent) const { Supplies(true, percent); }

void Laptop::NoBattery() const { RemoveSupplies(); }

void Laptop::FreeMemory(std::uint64_t megabytes) const {
  // Wine counts MemFree, Buffers and Cached as available.
  std::istringstream in(RealMeminfo());
  std::string text, line;
  while (std::getline(in, line)) {
    const std::string key = line.substr(0, line.find(':'));
    if (key == "MemFree")
      line = "MemFree:        " + std::to_string(megabytes * 1024) + " kB";
    else if (key == "Buffers" || key == "Cached")
      line = key + ":        0 kB";
    text += line + "\n";
  }
  WriteMeminfo(text);
}

void Laptop::Reset() const {
  if (Folder().empty()) return;
  RemoveSupplies();
  WriteMeminfo(RealMeminfo());
}

void LaptopTest::SetUp() {
  if (const auto why = Laptop::Unavailable()) GTEST_SKIP() << *why;
}
