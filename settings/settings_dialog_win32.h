#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/dialog_controls.h"
#include "platform/win32/win32_owned.h"
#include "platform/win32/win32_dialog_controls.h"
#include "settings/form2.h"
#include "shell/base_window_win32.h"

// The native settings dialog: class "TForm2", built from the control table
// so every control has its designed place. It cracks messages and calls the
// named handlers of TForm2; its modal loop keeps the program's other windows
// from taking input.
class SettingsDialog : public BaseWindow, public DialogWindow {
 public:
  SettingsDialog();
  ~SettingsDialog() override;

  // Creates the dialog, hidden. `owner` owns it; the first showing is
  // centred over `centreOver`.
  void Create(HINSTANCE instance, HWND owner, HWND centreOver);
  TForm2& form() { return *form_; }
  HWND Control(int id) const;

  bool Visible() override;
  bool RunModal() override;
  void Hide() override;
  void ShowControl(Edit& control) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateControls(HINSTANCE instance);
  // Fonts and every control's place for this DPI; the table gives the
  // places at 96 DPI.
  void ApplyDpi(int dpi);
  void SetFonts(int dpi);
  void PlaceControls(int dpi);
  void OnDpiChanged(int dpi, const RECT& suggested);
  // The outer size of the fixed client area at this DPI.
  SIZE FrameSize(int dpi) const;
  void PlaceFirstTime();
  void CentreOverOwner();
  // Tab, Enter and Esc as the dialog defines them; true when handled.
  bool PreTranslate(const MSG& msg);
  void MoveFocus(bool backwards);
  void FocusControl(HWND control);
  HWND FocusedControl() const;
  void OnCommand(int id, int code);
  void RegainActivation();
  void OnRegainActivation();
  // Shows the page of this index and hides the others.
  void ShowPage(int index);
  void NextPage(bool backwards);

  std::map<int, HWND> controls_;
  std::vector<int> tabSequence_;
  std::vector<int> pages_;  // the tab sheets, in the order of their tabs
  OwnedFont font_;
  OwnedFont boldFont_;
  HWND centreOver_ = nullptr;
  HWND lastFocus_ = nullptr;
  bool placed_ = false;
  bool modal_ = false;

  Win32Edit edMemLimit_, edSavePath_, edWavePower_, edWaveRes_;
  Win32CheckBox cbSaveLog_, cbDateLog_, cbWavePower_, cbWaveRes_;
  Win32Button btnSavePath_, btnWavePower_, btnWaveRes_;
  Win32Label label1_;
  Win32CheckBox cbSuspendLog_, cbTopPrograms_, cbAlertOnce_;
  Win32Edit edBatteryLimit_;
  std::unique_ptr<TForm2> form_;
};
