#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/error.h"
#include "app/texts.h"
#include "settings/app_version.h"
#include "settings/form2.h"
#include "tests/fake/fake_controls.h"
#include "tests/fake/fake_platform.h"

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.files.AddDirectory("C:\\logs");
    fake.files.AddDirectory("C:\\Windows\\Media");
    fake.files.files["C:\\Windows\\Media\\ding.wav"];
    dialog.window.visible = true;  // open, as while the user works in it
  }

  // One close request; the messages it showed.
  std::vector<std::string> CloseRequest() {
    const std::size_t before = fake.dialogs.boxes.size();
    dialog.form.Close();
    std::vector<std::string> shown;
    for (std::size_t i = before; i < fake.dialogs.boxes.size(); ++i)
      shown.push_back(fake.dialogs.boxes[i].text);
    return shown;
  }

  FakePlatform fake;
  FakeForm2 dialog;
};

TEST_F(SettingsDialogTest, EveryCloseRequestNormalisesTheMemoryLimit) {
  struct Case {
    std::string typed, normalised;
  };
  const Case cases[] = {
      {"0x10", "16"},      {" 150", "150"}, {"150MB", "200"}, {"", "200"},
      {"2147483648", "200"}, {"-5", "-5"},   {"0", "0"},       {"$FFFFFFFF", "-1"},
      {"150 ", "200"},
  };
  for (const Case& c : cases) {
    dialog.window.visible = true;
    dialog.edMemLimit.text = c.typed;
    EXPECT_TRUE(CloseRequest().empty()) << c.typed;
    EXPECT_EQ(dialog.edMemLimit.text, c.normalised) << c.typed;
    EXPECT_FALSE(dialog.window.visible) << c.typed;
  }
}

TEST_F(SettingsDialogTest, RefusedCloseKeepsTheNormalisedLimit) {
  dialog.edMemLimit.text = "0x10";
  dialog.cbSaveLog.checked = true;
  dialog.edSavePath.text = "C:\\missing\\Tessaril.log";
  EXPECT_EQ(CloseRequest(), std::vector<std::string>{texts::kNoLogFolder});
  EXPECT_TRUE(dialog.window.visible);
  EXPECT_EQ(dialog.edMemLimit.text, "16");
  const FakeDialogs::Box& box = fake.dialogs.boxes.back();
  EXPECT_EQ(box.caption, texts::kErrorCaption);
  EXPECT_EQ(box.kind, MessageKind::Error);
  EXPECT_EQ(box.owner, 0u);
}

TEST_F(SettingsDialogTest, ChecksRunInOrderOnTickedBoxesOnlyOneMessageEach) {
  struct Case {
    const char* name;
    bool saveLog;
    std::string savePath;
    bool wavePower;
    std::string wavePowerFile;
    bool waveRes;
    std::string waveResFile;
    std::vector<std::string> shown;
  };
  const std::string wav = "C:\\Windows\\Media\\ding.wav";
  const std::vector<std::string> none;
  const Case cases[] = {
      {"no folder part", true, "Tessaril.log", false, "", false, "", {texts::kNoLogFolder}},
      {"new file in an existing folder", true, "C:\\logs\\new.log", false, "", false, "", none},
      {"log off, empty path", false, "", false, "", false, "", none},
      {"log off, bad path", false, "Q:\\<>\\x", false, "", false, "", none},
      {"log first of all three",
       true, "C:\\missing\\x.log", true, "C:\\none.wav", true, "C:\\none.wav",
       {texts::kNoLogFolder}},
      {"power sound before alert sound",
       false, "", true, "C:\\none.wav", true, "C:\\none.wav", {texts::kNoPowerSoundFile}},
      {"alert sound once power is fixed",
       false, "", true, wav, true, "C:\\none.wav", {texts::kNoAlertSoundFile}},
      {"folder is not a sound file", false, "", true, "C:\\logs", false, "",
       {texts::kNoPowerSoundFile}},
      {"empty sound path", false, "", false, "", true, "", {texts::kNoAlertSoundFile}},
      {"clear boxes are not examined", false, "", false, "C:\\none.wav", false, "", none},
      {"all good", true, "C:\\logs\\x.log", true, wav, true, wav, none},
  };
  for (const Case& c : cases) {
    dialog.window.visible = true;
    dialog.cbSaveLog.checked = c.saveLog;
    dialog.edSavePath.text = c.savePath;
    dialog.cbWavePower.checked = c.wavePower;
    dialog.edWavePower.text = c.wavePowerFile;
    dialog.cbWaveRes.checked = c.waveRes;
    dialog.edWaveRes.text = c.waveResFile;
    EXPECT_EQ(CloseRequest(), c.shown) << c.name;
    EXPECT_EQ(dialog.window.visible, !c.shown.empty()) << c.name;
  }
}

TEST_F(SettingsDialogTest, BatteryLimitOutside0To99IsRefusedLastTheRestNormalised) {
  struct Case {
    std::string typed, left;  // the edit's text after the request; empty `left`: refused
  };
  const Case cases[] = {{"99", "99"}, {" 0x14", "20"}, {"100", ""}, {"-1", ""}, {"", ""}, {"20%", ""}};
  for (const Case& c : cases) {
    dialog.window.visible = true;
    dialog.edBatteryLimit.text = c.typed;
    const std::vector<std::string> refused = {texts::kBadBatteryLimit};
    EXPECT_EQ(CloseRequest(), c.left.empty() ? refused : std::vector<std::string>()) << c.typed;
    EXPECT_EQ(dialog.edBatteryLimit.text, c.left.empty() ? c.typed : c.left) << c.typed;
  }
  dialog.cbWaveRes.checked = true;  // one message per request: the sound file's first
  EXPECT_EQ(CloseRequest(), std::vector<std::string>{texts::kNoAlertSoundFile});
}

TEST_F(SettingsDialogTest, LogFolderIsSplitByShiftJisCharacters) {
  // ソ and 表 end in byte 0x5C, which is not a separator inside them.
  fake.files.AddDirectory("C:\\ログソ");
  struct Case {
    std::string path;
    bool accepted;
  };
  const Case cases[] = {
      {"C:\\ログソ\\x.log", true},
      {"C:\\logs\\表.log", true},
      {"C:\\logs\\ソ", true},
      {"C:\\ログ\\x.log", false},
  };
  for (const Case& c : cases) {
    dialog.window.visible = true;
    dialog.cbSaveLog.checked = true;
    dialog.edSavePath.text = c.path;
    EXPECT_EQ(CloseRequest().empty(), c.accepted) << c.path;
  }
}

TEST_F(SettingsDialogTest, OkButtonMakesTheSameCloseRequest) {
  dialog.cbWavePower.checked = true;
  dialog.form.Button1Click();
  EXPECT_TRUE(dialog.window.visible);
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(fake.dialogs.boxes[0].text, texts::kNoPowerSoundFile);
  dialog.cbWavePower.checked = false;
  dialog.form.Button1Click();
  EXPECT_FALSE(dialog.window.visible);
}

TEST_F(SettingsDialogTest, EnablementRulesFollowTheirBoxBothWays) {
  struct Case {
    const char* name;
    FakeCheckBox& box;
    std::vector<bool*> controls;
  };
  const Case cases[] = {
      {"log", dialog.cbSaveLog,
       {&dialog.edSavePath.enabled, &dialog.btnSavePath.enabled, &dialog.cbDateLog.enabled}},
      {"power sound", dialog.cbWavePower,
       {&dialog.edWavePower.enabled, &dialog.btnWavePower.enabled}},
      {"alert sound", dialog.cbWaveRes, {&dialog.edWaveRes.enabled, &dialog.btnWaveRes.enabled}},
  };
  dialog.cbDateLog.checked = true;
  dialog.edSavePath.text = "kept";
  for (const Case& c : cases) {
    for (bool ticked : {true, false, true, false}) {
      dialog.form.SetChecked(c.box, ticked);
      for (bool* enabled : c.controls) EXPECT_EQ(*enabled, ticked) << c.name;
    }
  }
  // Every box is clear now; the other controls were left alone.
  EXPECT_TRUE(dialog.cbSaveLog.enabled);
  EXPECT_TRUE(dialog.edMemLimit.enabled);
  EXPECT_TRUE(dialog.cbDateLog.checked);
  EXPECT_EQ(dialog.edSavePath.text, "kept");
}

TEST_F(SettingsDialogTest, HandlerRunsOnlyWhenTheStateChanges) {
  dialog.edSavePath.enabled = true;  // out of step with the clear box
  dialog.form.SetChecked(dialog.cbSaveLog, false);
  EXPECT_TRUE(dialog.edSavePath.enabled);
  // A user's click: the native box has toggled before its handler runs.
  dialog.cbWaveRes.checked = false;
  dialog.form.cbWaveResClick();
  EXPECT_FALSE(dialog.edWaveRes.enabled);
  EXPECT_FALSE(dialog.btnWaveRes.enabled);
}

TEST_F(SettingsDialogTest, LogBrowseStartsFromItsOwnLastChoice) {
  dialog.edSavePath.text = "C:\\typed\\by\\user.log";
  fake.dialogs.confirmFileDialog = false;
  dialog.form.Button2Click();
  EXPECT_EQ(dialog.edSavePath.text, "C:\\typed\\by\\user.log");

  fake.dialogs.confirmFileDialog = true;
  fake.dialogs.chosenFile = "D:\\logs\\mine.log";
  dialog.form.Button2Click();
  EXPECT_EQ(dialog.edSavePath.text, "D:\\logs\\mine.log");

  fake.dialogs.confirmFileDialog = false;
  dialog.form.Button2Click();
  EXPECT_EQ(dialog.edSavePath.text, "D:\\logs\\mine.log");

  ASSERT_EQ(fake.dialogs.fileDialogs.size(), 3u);
  const FileDialogRequest& first = fake.dialogs.fileDialogs[0];
  EXPECT_TRUE(first.save);
  EXPECT_EQ(first.title, "ログファイルの保存先");
  EXPECT_EQ(first.filter, "ログファイル(*.log)|*.log|全てのファイル(*.*)|*.*");
  EXPECT_EQ(first.defaultExt, "log");
  EXPECT_EQ(first.fileName, "C:\\Project\\Tessaril\\Tessaril.log");
  EXPECT_EQ(first.initialDir, "");
  EXPECT_EQ(fake.dialogs.fileDialogs[1].fileName, "C:\\Project\\Tessaril\\Tessaril.log");
  EXPECT_EQ(fake.dialogs.fileDialogs[2].fileName, "D:\\logs\\mine.log");
}

TEST_F(SettingsDialogTest, SoundBrowseChoosesItsEditByTagAndStartsInMediaWhenEmpty) {
  fake.files.environment["windir"] = "C:\\Windows";
  fake.dialogs.confirmFileDialog = true;
  fake.dialogs.chosenFile = "E:\\a.wav";
  dialog.form.btnWavePowerClick(1);
  EXPECT_EQ(dialog.edWavePower.text, "E:\\a.wav");
  EXPECT_EQ(dialog.edWaveRes.text, "");

  // The target is filled now: the folder stays as the last run left it.
  fake.dialogs.chosenFile = "E:\\b.wav";
  fake.files.environment["windir"] = "D:\\Other";
  dialog.form.btnWavePowerClick(1);
  EXPECT_EQ(dialog.edWavePower.text, "E:\\b.wav");

  // Empty target, no windir: just "\Media". A cancel changes nothing.
  fake.files.environment.clear();
  fake.dialogs.confirmFileDialog = false;
  dialog.form.btnWavePowerClick(2);
  EXPECT_EQ(dialog.edWaveRes.text, "");

  ASSERT_EQ(fake.dialogs.fileDialogs.size(), 3u);
  const FileDialogRequest& first = fake.dialogs.fileDialogs[0];
  EXPECT_FALSE(first.save);
  EXPECT_EQ(first.title, "音声ファイルを開く");
  EXPECT_EQ(first.filter, "waveファイル(*.wav)|*.wav");
  EXPECT_EQ(first.defaultExt, "wav");
  EXPECT_EQ(first.fileName, "");
  EXPECT_EQ(first.initialDir, "C:\\Windows\\Media");
  EXPECT_EQ(fake.dialogs.fileDialogs[1].initialDir, "C:\\Windows\\Media");
  EXPECT_EQ(fake.dialogs.fileDialogs[1].fileName, "E:\\a.wav");  // shared, last chosen
  EXPECT_EQ(fake.dialogs.fileDialogs[2].initialDir, "\\Media");
  EXPECT_EQ(fake.dialogs.fileDialogs[2].fileName, "E:\\b.wav");
}

TEST_F(SettingsDialogTest, VersionLineIsSetAtEveryShow) {
  dialog.window.visible = false;
  const std::string saved = AppVersion;
  for (const std::string version : {"", "not.", "1.1.0.0"}) {
    AppVersion = version;
    dialog.window.whileOpen = [&] { dialog.form.Button1Click(); };
    EXPECT_TRUE(dialog.form.ShowModal());
    EXPECT_EQ(dialog.Label1.text, "Tessaril ver." + version);
  }
  AppVersion = saved;
}

TEST_F(SettingsDialogTest, ShowingItWhileOpenFailsAndLeavesItOpen) {
  dialog.window.visible = false;
  std::string failure;
  dialog.window.whileOpen = [&] {
    try {
      dialog.form.ShowModal();
    } catch (const AppError& error) {
      failure = error.what();
    }
  };
  dialog.form.ShowModal();
  EXPECT_EQ(failure, texts::kCannotMakeVisibleModal);
  EXPECT_EQ(dialog.window.runs, 1);
}

// A refusal read while the other page shows names a value the user cannot
// see: the field's page comes to the front first, then the box.
TEST_F(SettingsDialogTest, EachRefusalShowsItsFieldBeforeItsMessage) {
  const std::pair<std::function<void()>, Edit*> cases[] = {
      {[&] { dialog.edBatteryLimit.text = "100"; }, &dialog.edBatteryLimit},
      {[&] { dialog.cbSaveLog.checked = true; }, &dialog.edSavePath},
      {[&] { dialog.cbWaveRes.checked = true; }, &dialog.edWaveRes},
  };
  Edit* shownAtBox = nullptr;
  fake.dialogs.whileShown = [&](const FakeDialogs::Box&) { shownAtBox = dialog.window.shown; };
  for (const auto& [set, field] : cases) {
    set();
    EXPECT_EQ(CloseRequest().size(), 1u);
    EXPECT_EQ(shownAtBox, field);
    dialog.edBatteryLimit.text = "0";
    dialog.cbSaveLog.checked = dialog.cbWaveRes.checked = false;
  }
}
