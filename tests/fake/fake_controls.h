#pragma once
#include <functional>
#include <string>

#include "platform/dialog_controls.h"
#include "settings/form2.h"

// In-memory dialog controls: plain fields, no notifications, as the native
// controls behave when the program sets them.

class FakeEdit : public Edit {
 public:
  std::string text;
  bool enabled = true;
  std::string Text() override { return text; }
  void SetText(const std::string& value) override { text = value; }
  bool Enabled() override { return enabled; }
  void SetEnabled(bool value) override { enabled = value; }
};

class FakeCheckBox : public CheckBox {
 public:
  bool checked = false;
  bool enabled = true;
  bool Checked() override { return checked; }
  void SetChecked(bool value) override { checked = value; }
  bool Enabled() override { return enabled; }
  void SetEnabled(bool value) override { enabled = value; }
};

class FakeButton : public Button {
 public:
  bool enabled = true;
  bool Enabled() override { return enabled; }
  void SetEnabled(bool value) override { enabled = value; }
};

class FakeLabel : public Label {
 public:
  std::string text = "Label1";
  void SetText(const std::string& value) override { text = value; }
};

// The modal run calls `whileOpen`, standing for the user's actions; when
// the dialog is still visible afterwards the run ends as at program exit.
class FakeDialogWindow : public DialogWindow {
 public:
  bool visible = false;
  int runs = 0;
  std::function<void()> whileOpen;
  bool Visible() override { return visible; }
  bool RunModal() override {
    ++runs;
    visible = true;
    if (whileOpen) whileOpen();
    if (!visible) return true;
    visible = false;
    return false;
  }
  void Hide() override { visible = false; }
  void ShowControl(Edit& control) override { shown = &control; }
  Edit* shown = nullptr;  // the edit last brought to the front
};

// A settings dialog over fake controls, installed as Form2 for its lifetime.
struct FakeForm2 {
  FakeDialogWindow window;
  FakeEdit edMemLimit, edSavePath, edWavePower, edWaveRes;
  FakeCheckBox cbSaveLog, cbDateLog, cbWavePower, cbWaveRes;
  FakeButton btnSavePath, btnWavePower, btnWaveRes;
  FakeLabel Label1;
  FakeCheckBox cbSuspendLog, cbTopPrograms, cbAlertOnce;
  FakeEdit edBatteryLimit;
  TForm2 form{Form2Controls{window, edMemLimit, edSavePath, edWavePower, edWaveRes, cbSaveLog,
                            cbDateLog, cbWavePower, cbWaveRes, btnSavePath, btnWavePower,
                            btnWaveRes, Label1, cbSuspendLog, edBatteryLimit, cbTopPrograms,
                            cbAlertOnce}};

  FakeForm2() {
    edMemLimit.text = "200";
    edBatteryLimit.text = "0";
    Form2 = &form;
  }
  ~FakeForm2() { Form2 = nullptr; }
};
