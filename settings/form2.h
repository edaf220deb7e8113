#pragma once
#include <cstdint>
#include <string>

#include "platform/dialog_controls.h"
#include "platform/platform.h"
#include "settings/extra_settings.h"

// The main window's bounds as loaded from the settings file.
struct WindowGeometry {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

// The settings dialog's native parts: its window and its value controls.
struct Form2Controls {
  DialogWindow& window;
  Edit& edMemLimit;
  Edit& edSavePath;
  Edit& edWavePower;
  Edit& edWaveRes;
  CheckBox& cbSaveLog;
  CheckBox& cbDateLog;
  CheckBox& cbWavePower;
  CheckBox& cbWaveRes;
  Button& btnSavePath;
  Button& btnWavePower;
  Button& btnWaveRes;
  Label& Label1;
  // The 拡張 page.
  CheckBox& cbSuspendLog;
  Edit& edBatteryLimit;
  CheckBox& cbTopPrograms;
  CheckBox& cbAlertOnce;
};

// The settings dialog's logic. Its eight value controls are the one working
// copy of the settings: loadIni fills them, saveIni writes them out,
// ApplySettings copies them into MonitorSettings.
class TForm2 {
 public:
  explicit TForm2(const Form2Controls& controls);

  void Button2Click();
  void FormShow();
  void Button1Click();
  void cbSaveLogClick();
  // Shared by both sound buttons; the button's Tag chooses the edit.
  void btnWavePowerClick(int senderTag);
  void saveIni(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
  WindowGeometry loadIni(std::int32_t defaultLeft, std::int32_t defaultTop);
  void cbWavePowerClick();
  void cbWaveResClick();
  void FormCloseQuery(bool& CanClose);

  // Shows the dialog modally and returns once it has closed; false when it
  // closed because the program is ending. Fails when it is already visible.
  bool ShowModal();
  // A close request, as from the close box: runs the close check and hides
  // the dialog when it passes.
  void Close();

  // Sets a box and, when its state changes, runs its click handler, as a
  // user's click would.
  void SetChecked(CheckBox& box, bool checked);

  // The 拡張 page's values; a battery limit that is not 0 to 99 gives 0.
  ExtraSettings ExtraValues();
  void ShowExtraValues(const ExtraSettings& values);

  Edit& edMemLimit;
  Edit& edSavePath;
  Edit& edWavePower;
  Edit& edWaveRes;
  CheckBox& cbSaveLog;
  CheckBox& cbDateLog;
  CheckBox& cbWavePower;
  CheckBox& cbWaveRes;
  Button& btnSavePath;
  Button& btnWavePower;
  Button& btnWaveRes;
  Label& Label1;
  CheckBox& cbSuspendLog;
  Edit& edBatteryLimit;
  CheckBox& cbTopPrograms;
  CheckBox& cbAlertOnce;

  // Each keeps the last chosen file name between uses.
  FileDialogRequest SaveDialog1;
  FileDialogRequest OpenDialog1;

 private:
  // Shows the field the message is about, then the message.
  void Refuse(const char* message, Edit& field, bool& CanClose);

  DialogWindow& window_;
};

// The settings dialog of the running program; null before it is created.
extern TForm2* Form2;

// The enablement rules: the controls that belong to a box are usable only
// while it is ticked. They act on Form2.
void EnableLogControls(bool enabled);
void EnableWavePowerControls(bool enabled);
void EnableWaveResControls(bool enabled);

// The memory limit when the text gives none.
inline constexpr std::int32_t kDefaultMemoryLimit = 200;
