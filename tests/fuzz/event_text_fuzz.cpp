#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/error.h"
#include "app/texts.h"
#include "monitor/log_file.h"
#include "monitor/memory_watch.h"
#include "monitor/power_event.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"
#include "tests/fake/fake_platform.h"
#include "tests/fuzz/fuzz_check.h"

// Power broadcasts with any code and data, any power status, any clock
// reading and any regional separators, through the real handler into the
// event list and the log.

namespace {

constexpr std::uint32_t kKnownCodes[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                         0x08, 0x09, 0x0A, 0x0B, 0x12, 0x8013};
const std::string kLogFolder = "C:\\logs";

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void CheckOemText(const std::string& text, std::uint32_t data) {
  const std::string head = texts::kOemEvent;
  FUZZ_CHECK(text.compare(0, head.size(), head) == 0);
  const std::string hex = text.substr(head.size());
  FUZZ_CHECK(hex.size() >= 4 && hex.size() <= 8);
  FUZZ_CHECK(hex.find_first_not_of("0123456789ABCDEF") == std::string::npos);
  FUZZ_CHECK(std::strtoul(hex.c_str(), nullptr, 16) == data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  FakePlatform fake;
  fake.files.AddDirectory(kLogFolder);
  MonitorSettings = TMonitorSettings();
  MonitorSettings.SaveLog = in.ConsumeBool();
  MonitorSettings.DateLog = in.ConsumeBool();
  MonitorSettings.SavePath = kLogFolder + "\\" + in.ConsumeRandomLengthString(300);
  fake.clock.now = {in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(),
                    in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(),
                    in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>()};
  fake.clock.dateSeparator = in.ConsumeRandomLengthString(4);
  fake.clock.timeSeparator = in.ConsumeRandomLengthString(4);
  fake.power.status = {in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>()};
  const std::uint32_t code =
      in.ConsumeBool() ? in.PickValueInArray(kKnownCodes) : in.ConsumeIntegral<std::uint32_t>();
  const auto eventData = in.ConsumeIntegral<std::intptr_t>();
  const auto limit = in.ConsumeIntegral<std::uint32_t>();

  FakeFormWindow window;
  FakeMemo memo;
  FakeTimerDevice timer;
  TForm1 form(window, memo, timer);
  TMessage message{WM_POWERBROADCAST_ID, code, eventData, 0};
  std::string failure;
  try {
    form.WMPowerBroadcast(message);
  } catch (const AppError& error) {
    failure = error.what();
  }

  // The system's reply always comes from the default processing.
  FUZZ_CHECK(window.defaultHandled.size() == 1);
  const std::string text = PowerEventText(code, static_cast<std::uint32_t>(eventData));
  FUZZ_CHECK(!HasLineBreak(text));
  if (code == kOemEvent) CheckOemText(text, static_cast<std::uint32_t>(eventData));
  if (text.empty()) {
    FUZZ_CHECK(memo.lines.empty() && fake.files.files.empty() && failure.empty());
  } else if (!failure.empty()) {
    // A line the log refused is not listed either.
    FUZZ_CHECK(MonitorSettings.SaveLog && memo.lines.empty());
  } else {
    FUZZ_CHECK(memo.lines.size() == 1);
    const std::string& line = memo.lines[0];
    std::string shown = text;
    if (code == kPowerStatusChange) shown += PowerStatusSuffix(fake.power.status);
    FUZZ_CHECK(EndsWith(line, texts::kEventSeparator + shown));
    if (MonitorSettings.SaveLog) {
      FUZZ_CHECK(fake.files.files.size() == 1);
      FUZZ_CHECK(fake.files.files.begin()->second.bytes == line + texts::kLineEnd);
    } else {
      FUZZ_CHECK(fake.files.files.empty());
    }
  }

  const std::string alert = MemoryAlertText(limit);
  FUZZ_CHECK(!HasLineBreak(alert));
  const std::string head = texts::kMemoryAlertHead;
  FUZZ_CHECK(std::strtoul(alert.c_str() + head.size(), nullptr, 10) == limit);
  MonitorSettings = TMonitorSettings();
  return 0;
}
