#include <gtest/gtest.h>

#include "app/application.h"
#include "monitor/wake_reason.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"
#include "tests/fake/fake_platform.h"

namespace {

constexpr std::uint64_t kSecond = 10000000;  // the log's clock counts 100 ns
constexpr std::uint64_t kResume = 134000000000000000ull;
const char kPower[] = "Microsoft-Windows-Kernel-Power";
const char kTrouble[] = "Microsoft-Windows-Power-Troubleshooter";
// In the shape Windows formats these messages: the reason or the wake source
// in the last paragraph.
const std::string kExit = "システムはモダン スタンバイを終了しています。 \r\n\r\n理由: 入力キーボード。\r\n";
const std::string kBack = "再開しました。\r\n\r\nスリープ時間: 2026-12-07T04:00:00Z\r\n\r\n"
                          "スリープ解除のソース: デバイス -HID\r\nキーボード デバイス";
const std::string kExitLine = "復帰要因: 理由: 入力キーボード。";
const std::string kBackLine = "復帰要因: スリープ解除のソース: デバイス -HID キーボード デバイス";

SystemLogEvent Event(const char* provider, std::uint32_t id, int seconds, const std::string& text) {
  return {provider, id, kResume + seconds * kSecond, text};
}

}  // namespace

TEST(SuspendResumeOptIn, RegisteredOnceTheMainWindowExistsCancelledAtTheEnd) {
  for (const bool available : {true, false}) {  // false: before Windows 8
    FakePlatform fake;
    fake.suspendResume.available = available;
    FakeFormWindow window;
    FakeMemo memo;
    FakeTimerDevice timer;
    TForm1 form{window, memo, timer};
    TApplication app;
    Application = &app;
    form.FormCreate();
    EXPECT_EQ(fake.suspendResume.registered, std::vector<WindowId>(available, window.kHandle));
    EXPECT_TRUE(fake.suspendResume.unregistered.empty());
    form.FormDestroy();
    EXPECT_EQ(fake.suspendResume.unregistered,
              std::vector<std::uintptr_t>(available, FakeSuspendResumeNotice::kRegistration));
    Application = nullptr;
  }
}

TEST(WakeReason, TheEventOfTheSleepAndItsText) {
  struct Row {
    const char* name;
    int suspended;                       // seconds from the resume
    std::vector<SystemLogEvent> events;  // newest first
    std::string line;                    // empty: none
  };
  const Row rows[] = {
      {"a 507 with its reason", -3600, {Event(kPower, 507, 2, kExit)}, kExitLine},
      {"a Power-Troubleshooter 1", -3600, {Event(kTrouble, 1, -120, kBack)}, kBackLine},
      {"no event", -3600, {}, ""},
      {"too far", -3600, {Event(kPower, 507, 121, kExit), Event(kTrouble, 1, -121, kBack)}, ""},
      {"before the suspend: an earlier sleep's", -30, {Event(kPower, 507, -31, kExit)}, ""},
      {"a 507 first", -3600, {Event(kTrouble, 1, 20, kBack), Event(kPower, 507, -40, kExit)},
       kExitLine},
      {"the nearer", -3600, {Event(kPower, 507, 90, "x\r\n\r\ny"), Event(kPower, 507, -5, kExit)},
       kExitLine},
      {"other events, a message without text", -3600,
       {Event(kPower, 506, 1, kExit), Event(kTrouble, 507, 1, kExit),
        Event(kPower, 507, 1, " \r\n\r\n"), Event(kTrouble, 1, 9, kBack)},
       kBackLine},
      // The platform gives "?" for each character code page 932 lacks.
      {"text that does not fit code page 932", -3600,
       {Event(kPower, 507, 1, "x\r\n\r\n理由: ?? ソフト")}, "復帰要因: 理由: ?? ソフト"},
  };
  for (const Row& row : rows) {
    const SleepSpan sleep{kResume + row.suspended * kSecond, kResume};
    const SystemLogEvent* event = WakeEventOf(row.events, sleep);
    EXPECT_EQ(event != nullptr ? WakeReasonText(event->message) : "", row.line) << row.name;
  }
}

TEST(WakeReasonLookup, RetriesFromItsTimerThenOneLineAfterTheSleepTimeOrNone) {
  struct Row {
    const char* name;
    int writtenBefore;  // the try before which the event is written; -1 never
    bool readable, switchedOff;
    int queries;  // -1: every try of a minute
  };
  const Row rows[] = {{"written by the third try", 2, true, false, 3},
                      {"the log cannot be read", -1, false, false, 1},
                      {"no event within a minute", -1, true, false, -1},
                      {"recording switched off", -1, true, true, 0}};
  for (const Row& row : rows) {
    FakePlatform fake;
    fake.files.AddDirectory("C:\\logs");
    fake.systemLog.readable = row.readable;
    MonitorSettings = TMonitorSettings();
    MonitorSettings.SaveLog = MonitorSettings.Extra.SuspendLog = true;
    MonitorSettings.SavePath = "C:\\logs\\t.log";
    FakeFormWindow window;
    FakeMemo memo;
    FakeTimerDevice timer, retryTimer;
    TForm1 form{window, memo, timer};
    WakeReasonLookup lookup{memo, retryTimer};
    for (const std::uintptr_t code : {0x4, 0x12, 0x7}) {  // as the main window hands them on
      TMessage message{0x218, code, 0, 0};
      form.WMPowerBroadcast(message);
      lookup.PowerEvent(static_cast<std::uint32_t>(code));
      fake.systemLog.now = kResume;
    }
    MonitorSettings.Extra.SuspendLog = !row.switchedOff;
    const int tries = static_cast<int>(60000 / retryTimer.interval);  // one a tick
    for (int i = 0; i < tries + 2 && retryTimer.running; ++i) {
      if (i == row.writtenBefore) fake.systemLog.events = {Event(kPower, 507, 8, kExit)};
      lookup.Retry();
    }
    EXPECT_FALSE(retryTimer.running) << row.name;
    lookup.PowerEvent(0x7);  // a resume with no suspend before it
    EXPECT_EQ(retryTimer.starts, 1) << row.name;
    EXPECT_EQ(fake.systemLog.queries, row.queries < 0 ? tries : row.queries) << row.name;
    ASSERT_EQ(memo.lines.size(), row.writtenBefore < 0 ? 4u : 5u) << row.name;
    EXPECT_EQ(memo.lines[2].find("サスペンド時間 "), 23u) << memo.lines[2];
    EXPECT_EQ(memo.lines.back().substr(23), row.writtenBefore < 0 ? "サスペンド復帰" : kExitLine);
    std::string logged;
    for (const std::string& line : memo.lines) logged += line + "\r\n";
    EXPECT_EQ(fake.files.files["C:\\logs\\t.log"].bytes, logged) << row.name;
    EXPECT_TRUE(fake.dialogs.boxes.empty()) << row.name;
  }
  MonitorSettings = TMonitorSettings();
}
