#include "tests/shared/settings_store_cases.h"

namespace {

// The settings file as the in-memory profile holds it.
class FakeStoreBackend : public StoreBackend {
 public:
  std::string ExeFolder() override { return "C:\\Apps\\Tessaril\\"; }

  std::vector<std::string> IniLines() override {
    auto file = fake.profile.files.find(Path());
    if (file == fake.profile.files.end()) return {};
    std::vector<std::string> lines = {"[main]"};
    for (const FakeProfile::Entry& entry : file->second)
      lines.push_back(entry.key + "=" + entry.value);
    for (const auto& section : fake.profile.otherSections[Path()]) {
      lines.push_back("[" + section.first + "]");
      for (const FakeProfile::Entry& entry : section.second)
        lines.push_back(entry.key + "=" + entry.value);
    }
    return lines;
  }

  // Keeps the keys of every section, as the platform would read them.
  void WriteIni(const std::string& bytes) override {
    fake.profile.files.erase(Path());
    fake.profile.otherSections.erase(Path());
    std::string section;
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t end = bytes.find("\r\n", start);
      if (end == std::string::npos) end = bytes.size();
      const std::string line = bytes.substr(start, end - start);
      start = end + 2;
      if (!line.empty() && line[0] == '[') {
        section = line.substr(1, line.find(']') - 1);
        continue;
      }
      const std::size_t equals = line.find('=');
      if (!section.empty() && equals != std::string::npos)
        fake.profile.Write(Path(), section, line.substr(0, equals), line.substr(equals + 1));
    }
  }

  void RefuseWrites() override { fake.profile.readOnly.insert(Path()); }

  FakePlatform fake;

 private:
  std::string Path() { return ExeFolder() + "Tessaril.ini"; }
};

std::unique_ptr<StoreBackend> MakeFakeBackend() { return std::make_unique<FakeStoreBackend>(); }

}  // namespace

INSTANTIATE_TEST_SUITE_P(Fake, SettingsStoreTest,
                         ::testing::Values(StoreBackendFactory{"Memory", &MakeFakeBackend}),
                         StoreBackendName);

// What only the in-memory profile can show.
class SettingsStoreFakeTest : public ::testing::Test {
 protected:
  void SetUp() override { Form1 = &form1; }
  void TearDown() override {
    Form1 = nullptr;
    MonitorSettings = TMonitorSettings();
  }
  FakePlatform fake;
  FakeForm2 dialog;
  FakeFormWindow mainWindow;
  FakeMemo memo;
  FakeTimerDevice timer;
  TForm1 form1{mainWindow, memo, timer};
  const std::string kIni = "C:\\Apps\\Tessaril\\Tessaril.ini";
};

TEST_F(SettingsStoreFakeTest, EveryLoadAndSaveFlushesOnceEvenWhenASaveFails) {
  dialog.form.loadIni(0, 0);
  EXPECT_EQ(fake.profile.flushes, 1);
  dialog.form.saveIni(0, 0, 1, 1);
  EXPECT_EQ(fake.profile.flushes, 2);
  fake.profile.readOnly.insert(kIni);
  EXPECT_THROW(dialog.form.saveIni(0, 0, 1, 1), AppError);
  EXPECT_EQ(fake.profile.flushes, 3);
}

TEST_F(SettingsStoreFakeTest, SaveStopsAtTheFirstRefusedKeyKeepingTheEarlierOnes) {
  fake.profile.refusedKeys.insert("SaveLog");
  EXPECT_THROW(dialog.form.saveIni(0, 0, 1, 1), AppError);
  std::vector<std::string> written;
  for (const FakeProfile::Entry& entry : fake.profile.files[kIni]) written.push_back(entry.key);
  EXPECT_EQ(written,
            (std::vector<std::string>{"MemoryLimit", "SavePath", "WavePowerFile", "WaveResFile"}));
}

TEST_F(SettingsStoreFakeTest, FilesLieBesideTheExeEvenInAShiftJisFolder) {
  // 表 ends in byte 0x5C: the folder is cut after the last real separator.
  fake.files.moduleFileName = "C:\\ツール\\表.exe";
  dialog.form.loadIni(0, 0);
  EXPECT_EQ(dialog.edSavePath.text, "C:\\ツール\\Tessaril.log");
  dialog.form.saveIni(0, 0, 1, 1);
  EXPECT_EQ(fake.profile.files.count("C:\\ツール\\Tessaril.ini"), 1u);
}

TEST_F(SettingsStoreFakeTest, SettingsCommandEndedByProgramExitStillSavesAndApplies) {
  dialog.window.whileOpen = [&] { dialog.cbSaveLog.checked = true; };  // open at program exit
  form1.O1Click();
  EXPECT_EQ(fake.profile.files.count(kIni), 1u);
  EXPECT_TRUE(MonitorSettings.SaveLog) << "the end line goes by the new settings";
}

TEST_F(SettingsStoreFakeTest, SettingsCommandNeverReachesTheDialogOnceItIsDestroyed) {
  dialog.window.whileOpen = [] { Form2 = nullptr; };  // the exit steps ran inside the dialog's loop
  form1.O1Click();
  EXPECT_TRUE(fake.profile.files.empty());
}

TEST_F(SettingsStoreFakeTest, SettingsCommandWhileTheDialogIsOpenFailsWithoutSaving) {
  dialog.window.visible = true;
  try {
    form1.O1Click();
    ADD_FAILURE() << "no error";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), texts::kCannotMakeVisibleModal);
  }
  EXPECT_TRUE(fake.profile.files.empty());
  EXPECT_EQ(dialog.window.runs, 0);
}
