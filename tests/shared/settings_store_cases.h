#pragma once
// The settings store against a settings file. Included by one test source of
// each test program, which instantiates SettingsStoreTest with its backend:
// the in-memory profile natively, the real private-profile calls and real
// files under Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/error.h"
#include "app/texts.h"
#include "settings/apply_settings.h"
#include "settings/extra_settings.h"
#include "settings/form2.h"
#include "settings/graph_bounds.h"
#include "settings/ini_file.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"
#include "tests/fake/fake_controls.h"
#include "tests/fake/fake_platform.h"

class StoreBackend {
 public:
  virtual ~StoreBackend() = default;
  // The executable's folder, ending in "\".
  virtual std::string ExeFolder() = 0;
  // The settings file's lines (CR LF removed); empty when there is no file.
  virtual std::vector<std::string> IniLines() = 0;
  // Puts a hand-written file in place.
  virtual void WriteIni(const std::string& bytes) = 0;
  // From now on the settings file cannot be written.
  virtual void RefuseWrites() = 0;
};

struct StoreBackendFactory {
  const char* name;
  std::unique_ptr<StoreBackend> (*make)();
};

// Tests are named and printed by the backend, never by an address.
inline void PrintTo(const StoreBackendFactory& factory, std::ostream* out) { *out << factory.name; }
inline std::string StoreBackendName(const ::testing::TestParamInfo<StoreBackendFactory>& info) {
  return info.param.name;
}

class SettingsStoreTest : public ::testing::TestWithParam<StoreBackendFactory> {
 protected:
  void SetUp() override {
    backend = GetParam().make();
    MonitorSettings = TMonitorSettings();
    Form1 = &form1;
  }
  void TearDown() override {
    Form1 = nullptr;
    MonitorSettings = TMonitorSettings();
  }

  std::string IniPath() { return backend->ExeFolder() + "Tessaril.ini"; }

  void WriteMain(const std::string& lines) { backend->WriteIni("[main]\r\n" + lines); }

  // The text a failed save reports.
  std::string SaveFailure(const std::function<void()>& action) {
    try {
      action();
    } catch (const AppError& error) {
      return error.what();
    }
    return "";
  }

  std::unique_ptr<StoreBackend> backend;
  FakeForm2 dialog;
  FakeFormWindow mainWindow;
  FakeMemo memo;
  FakeTimerDevice timer;
  TForm1 form1{mainWindow, memo, timer};
};

TEST_P(SettingsStoreTest, WithoutAFileLoadGivesTheDefaultsAndTheFirstSaveCreatesIt) {
  dialog.cbSaveLog.checked = true;  // left over from an earlier load
  dialog.edWavePower.text = "old.wav";
  const WindowGeometry g = dialog.form.loadIni(123, -45);
  EXPECT_EQ(dialog.edMemLimit.text, "200");
  EXPECT_EQ(dialog.edSavePath.text, backend->ExeFolder() + "Tessaril.log");
  EXPECT_EQ(dialog.edWavePower.text, "");
  EXPECT_EQ(dialog.edWaveRes.text, "");
  EXPECT_FALSE(dialog.cbSaveLog.checked || dialog.cbDateLog.checked ||
               dialog.cbWavePower.checked || dialog.cbWaveRes.checked);
  EXPECT_EQ(g.Left, 123);
  EXPECT_EQ(g.Top, -45);
  EXPECT_EQ(g.Width, 484);
  EXPECT_EQ(g.Height, 80);
  EXPECT_TRUE(backend->IniLines().empty()) << "loading created the file";

  dialog.form.saveIni(123, -45, 484, 80);
  const std::vector<std::string> expected = {
      "[main]",      "MemoryLimit=200", "SavePath=" + backend->ExeFolder() + "Tessaril.log",
      "WavePowerFile=", "WaveResFile=", "SaveLog=0", "DateLog=0", "WavePower=0", "WaveRes=0",
      "Left=123",    "Top=-45",         "Width=484", "Height=80"};
  EXPECT_EQ(backend->IniLines(), expected);
}

TEST_P(SettingsStoreTest, MemoryLimitReadForms) {
  struct Case {
    std::string value, loaded;
  };
  const Case cases[] = {
      {"0x10", "16"},   {"0X10", "16"},         {"$10", "16"},
      {"x10", "16"},    {"150MB", "200"},       {"", "200"},
      {"2147483648", "200"}, {"-2147483648", "-2147483648"}, {"-5", "-5"},
      {"0", "0"},       {"0x", "200"},          {"0xFFFFFFFF", "-1"},
      {"\"150\"", "150"},  // quotes around a value are the file format's
  };
  for (const Case& c : cases) {
    WriteMain("MemoryLimit=" + c.value + "\r\n");
    dialog.form.loadIni(0, 0);
    EXPECT_EQ(dialog.edMemLimit.text, c.loaded) << c.value;
  }
}

TEST_P(SettingsStoreTest, BooleanReadForms) {
  struct Case {
    std::string value;
    bool ticked;
  };
  const Case cases[] = {{"1", true},    {"2", true},      {"-1", true},    {"0x1", true},
                        {"0", false},   {"yes", false},   {"true", false}, {"", false},
                        {"$0", false}};
  for (const Case& c : cases) {
    WriteMain("SaveLog=" + c.value + "\r\nDateLog=" + c.value + "\r\nWavePower=" + c.value +
              "\r\nWaveRes=" + c.value + "\r\n");
    dialog.form.loadIni(0, 0);
    EXPECT_EQ(dialog.cbSaveLog.checked, c.ticked) << c.value;
    EXPECT_EQ(dialog.cbDateLog.checked, c.ticked) << c.value;
    EXPECT_EQ(dialog.cbWavePower.checked, c.ticked) << c.value;
    EXPECT_EQ(dialog.cbWaveRes.checked, c.ticked) << c.value;
  }
}

TEST_P(SettingsStoreTest, LongStringLoadsAsItsFirst2047Bytes) {
  std::string path = "C:\\";
  while (path.size() < 3000) path += "abcdefghij\\";
  path.resize(3000);
  WriteMain("SavePath=" + path + "\r\n");
  dialog.form.loadIni(0, 0);
  EXPECT_EQ(dialog.edSavePath.text, path.substr(0, 2047));
}

TEST_P(SettingsStoreTest, SavedValuesLoadBackTheSame) {
  dialog.edMemLimit.text = "-5";
  dialog.edSavePath.text = "C:\\ログソ\\表.log";
  dialog.edWavePower.text = "";
  dialog.edWaveRes.text = "C:\\Windows\\Media\\ding.wav";
  dialog.cbSaveLog.checked = true;
  dialog.cbDateLog.checked = true;  // saved whatever its enablement
  dialog.cbWaveRes.checked = true;
  dialog.form.saveIni(-1200, 30, 640, 300);

  FakeForm2 other;  // a fresh dialog, as at the next start
  const WindowGeometry g = other.form.loadIni(0, 0);
  EXPECT_EQ(other.edMemLimit.text, "-5");
  EXPECT_EQ(other.edSavePath.text, "C:\\ログソ\\表.log");
  EXPECT_EQ(other.edWavePower.text, "");
  EXPECT_EQ(other.edWaveRes.text, "C:\\Windows\\Media\\ding.wav");
  EXPECT_TRUE(other.cbSaveLog.checked);
  EXPECT_TRUE(other.cbDateLog.checked);
  EXPECT_FALSE(other.cbWavePower.checked);
  EXPECT_TRUE(other.cbWaveRes.checked);
  EXPECT_EQ(g.Left, -1200);
  EXPECT_EQ(g.Top, 30);
  EXPECT_EQ(g.Width, 640);
  EXPECT_EQ(g.Height, 300);
  const std::vector<std::string> lines = backend->IniLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Width=640"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Height=300"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "WavePowerFile="), lines.end());
}

TEST_P(SettingsStoreTest, LoadAppliesTheEnablementRules) {
  WriteMain("SaveLog=0\r\nWavePower=1\r\nWaveRes=0\r\n");
  dialog.form.loadIni(0, 0);
  EXPECT_FALSE(dialog.edSavePath.enabled || dialog.btnSavePath.enabled ||
               dialog.cbDateLog.enabled);
  EXPECT_TRUE(dialog.edWavePower.enabled && dialog.btnWavePower.enabled);
  EXPECT_FALSE(dialog.edWaveRes.enabled || dialog.btnWaveRes.enabled);

  WriteMain("SaveLog=1\r\nWavePower=0\r\nWaveRes=1\r\n");
  dialog.form.loadIni(0, 0);
  EXPECT_TRUE(dialog.edSavePath.enabled && dialog.btnSavePath.enabled &&
              dialog.cbDateLog.enabled);
  EXPECT_FALSE(dialog.edWavePower.enabled || dialog.btnWavePower.enabled);
  EXPECT_TRUE(dialog.edWaveRes.enabled && dialog.btnWaveRes.enabled);
}

TEST_P(SettingsStoreTest, ApplySettingsMovesTheWindowAndFillsMonitorSettings) {
  WriteMain(
      "MemoryLimit=0x10\r\nSavePath=D:\\log\\t.log\r\nWavePowerFile=p.wav\r\n"
      "WaveResFile=r.wav\r\nSaveLog=1\r\nDateLog=1\r\nWavePower=1\r\nWaveRes=0\r\n"
      "Left=10\r\nTop=20\r\nWidth=600\r\n");
  ApplySettings();
  EXPECT_EQ(mainWindow.boundChanges,
            (std::vector<std::string>{"Left=10", "Top=20", "Width=600", "Height=80"}));
  EXPECT_EQ(MonitorSettings.MemoryLimit, 16);
  EXPECT_EQ(MonitorSettings.SavePath, "D:\\log\\t.log");
  EXPECT_EQ(MonitorSettings.WavePowerFile, "p.wav");
  EXPECT_EQ(MonitorSettings.WaveResFile, "r.wav");
  EXPECT_TRUE(MonitorSettings.SaveLog);
  EXPECT_TRUE(MonitorSettings.DateLog);
  EXPECT_TRUE(MonitorSettings.WavePower);
  EXPECT_FALSE(MonitorSettings.WaveRes);
  EXPECT_FALSE(MonitorSettings.Extra.SuspendLog);

  backend->WriteIni("[main]\r\n[extra]\r\nSuspendLog=1\r\nBatteryLimit=15\r\nTopPrograms=1\r\n"
                    "AlertOnce=1\r\n");
  ApplySettings();
  EXPECT_TRUE(MonitorSettings.Extra.SuspendLog);
  EXPECT_EQ(MonitorSettings.Extra.BatteryLimit, 15);
  EXPECT_TRUE(MonitorSettings.Extra.TopPrograms);
  EXPECT_TRUE(MonitorSettings.Extra.AlertOnce);
}

TEST_P(SettingsStoreTest, MissingPositionKeepsTheWindowWhereItIs) {
  mainWindow.left = 300;
  mainWindow.top = 200;
  ApplySettings();
  EXPECT_EQ(mainWindow.boundChanges,
            (std::vector<std::string>{"Left=300", "Top=200", "Width=484", "Height=80"}));
}

TEST_P(SettingsStoreTest, SettingsCommandSavesWhatTheUserLeftThenApplies) {
  mainWindow.width = 700;
  dialog.window.whileOpen = [&] {
    dialog.edMemLimit.text = " 0x20";
    dialog.form.SetChecked(dialog.cbWavePower, true);
    dialog.form.Button1Click();  // refused: no such file
    dialog.form.SetChecked(dialog.cbWavePower, false);
    dialog.form.Button1Click();
  };
  form1.O1Click();
  EXPECT_EQ(MonitorSettings.MemoryLimit, 32);
  EXPECT_FALSE(MonitorSettings.WavePower);
  const std::vector<std::string> lines = backend->IniLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], "MemoryLimit=32");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Width=700"), lines.end());
}

TEST_P(SettingsStoreTest, UnwritableFileFailsEveryCloseAndLeavesMonitorSettings) {
  WriteMain("MemoryLimit=100\r\n");
  ApplySettings();
  backend->RefuseWrites();
  const std::string expected = IniPath() + " に書き込めません";
  bool canClose = true;
  EXPECT_EQ(SaveFailure([&] { form1.FormCloseQuery(canClose); }), expected);
  EXPECT_EQ(SaveFailure([&] { form1.FormCloseQuery(canClose); }), expected);

  const TMonitorSettings before = MonitorSettings;
  mainWindow.boundChanges.clear();
  dialog.window.whileOpen = [&] {
    dialog.edMemLimit.text = "50";
    dialog.form.Button1Click();
  };
  EXPECT_EQ(SaveFailure([&] { form1.O1Click(); }), expected);
  EXPECT_EQ(MonitorSettings.MemoryLimit, before.MemoryLimit);
  EXPECT_EQ(MonitorSettings.SavePath, before.SavePath);
  EXPECT_TRUE(mainWindow.boundChanges.empty());
  EXPECT_EQ(dialog.edMemLimit.text, "50");  // the user's edit stays
}

TEST_P(SettingsStoreTest, ExtraSectionFollowsMainWhileAnythingIsOnAndGoesWhenAllAreOff) {
  struct Case {
    const char* name;
    std::function<void(FakeForm2&)> set;
    std::vector<std::string> extra;
  };
  const Case cases[] = {
      {"suspend", [](FakeForm2& d) { d.cbSuspendLog.checked = true; },
       {"SuspendLog=1", "BatteryLimit=0", "TopPrograms=0", "AlertOnce=0"}},
      {"battery", [](FakeForm2& d) { d.edBatteryLimit.text = "99"; },
       {"SuspendLog=0", "BatteryLimit=99", "TopPrograms=0", "AlertOnce=0"}},
      {"programs", [](FakeForm2& d) { d.cbTopPrograms.checked = true; },
       {"SuspendLog=0", "BatteryLimit=0", "TopPrograms=1", "AlertOnce=0"}},
      {"once", [](FakeForm2& d) { d.cbAlertOnce.checked = true; },
       {"SuspendLog=0", "BatteryLimit=0", "TopPrograms=0", "AlertOnce=1"}},
  };
  dialog.edSavePath.text = "C:\\t.log";
  dialog.form.saveIni(1, 2, 3, 4);
  const std::vector<std::string> mainOnly = backend->IniLines();
  ASSERT_EQ(mainOnly.size(), 13u);
  for (const Case& c : cases) {
    c.set(dialog);
    dialog.form.saveIni(1, 2, 3, 4);
    std::vector<std::string> expected = mainOnly;
    expected.push_back("[extra]");
    expected.insert(expected.end(), c.extra.begin(), c.extra.end());
    EXPECT_EQ(backend->IniLines(), expected) << c.name;

    dialog.form.ShowExtraValues(ExtraSettings());
    dialog.form.saveIni(1, 2, 3, 4);
    EXPECT_EQ(backend->IniLines(), mainOnly) << c.name;
  }
}

TEST_P(SettingsStoreTest, GraphBoundsOutliveTheExtraSettingsGoingOff) {
  dialog.edSavePath.text = "C:\\t.log";
  dialog.cbSuspendLog.checked = true;
  dialog.form.saveIni(1, 2, 3, 4);
  {
    IniFile ini(SettingsFilePath());
    WriteGraphBounds(ini, {-5, 10, 640, 480});
  }
  dialog.cbSuspendLog.checked = false;
  dialog.form.saveIni(1, 2, 3, 4);
  const std::vector<std::string> lines = backend->IniLines();
  const auto extra = std::find(lines.begin(), lines.end(), "[extra]");
  ASSERT_NE(extra, lines.end());
  const std::vector<std::string> expected = {"[extra]", "GraphLeft=-5", "GraphTop=10",
                                             "GraphWidth=640", "GraphHeight=480"};
  EXPECT_EQ(std::vector<std::string>(extra, lines.end()), expected);
  IniFile ini(SettingsFilePath());
  const std::optional<GraphBounds> bounds = ReadGraphBounds(ini);
  ASSERT_TRUE(bounds.has_value());
  EXPECT_EQ(bounds->Left, -5);
  EXPECT_EQ(bounds->Height, 480);
}

TEST_P(SettingsStoreTest, GraphBoundsReadOnlyWhenWholeAndUsable) {
  const std::pair<const char*, bool> cases[] = {
      {"GraphLeft=1\r\nGraphTop=2\r\nGraphWidth=300\r\nGraphHeight=200\r\n", true},
      {"GraphLeft=1\r\nGraphTop=2\r\nGraphWidth=300\r\n", false},
      {"GraphLeft=1\r\nGraphTop=x\r\nGraphWidth=300\r\nGraphHeight=200\r\n", false},
      {"GraphLeft=1\r\nGraphTop=2\r\nGraphWidth=300\r\nGraphHeight=199\r\n", false},
  };
  for (const auto& [lines, usable] : cases) {
    backend->WriteIni(std::string("[main]\r\n[extra]\r\n") + lines);
    IniFile ini(SettingsFilePath());
    EXPECT_EQ(ReadGraphBounds(ini).has_value(), usable) << lines;
  }
}

TEST_P(SettingsStoreTest, ExtraReadForms) {
  struct Case {
    std::string lines;
    bool suspend;
    std::string battery;
  };
  const Case cases[] = {
      {"SuspendLog=1\r\nBatteryLimit=20\r\n", true, "20"},
      {"SuspendLog=-1\r\nBatteryLimit=0x14\r\n", true, "20"},
      {"SuspendLog=yes\r\nBatteryLimit=100\r\n", false, "0"},
      {"SuspendLog=0\r\nBatteryLimit=-1\r\n", false, "0"},
      {"BatteryLimit=20%\r\n", false, "0"},
      {"BatteryLimit=\r\n", false, "0"},
      {"", false, "0"},
  };
  for (const Case& c : cases) {
    dialog.cbSuspendLog.checked = !c.suspend;  // left over from an earlier load
    dialog.edBatteryLimit.text = "7";
    backend->WriteIni("[main]\r\nMemoryLimit=100\r\n[extra]\r\n" + c.lines);
    dialog.form.loadIni(0, 0);
    EXPECT_EQ(dialog.cbSuspendLog.checked, c.suspend) << c.lines;
    EXPECT_EQ(dialog.edBatteryLimit.text, c.battery) << c.lines;
    EXPECT_EQ(dialog.edMemLimit.text, "100") << c.lines;
  }
}
