#pragma once
#include <windows.h>

#include "platform/dialog_controls.h"

// The dialog controls over native windows; none sends a notification.

class Win32Edit : public Edit {
 public:
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  HWND hwnd() const { return hwnd_; }
  std::string Text() override;
  void SetText(const std::string& text) override;
  bool Enabled() override;
  void SetEnabled(bool enabled) override;

 private:
  HWND hwnd_ = nullptr;
};

class Win32CheckBox : public CheckBox {
 public:
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  bool Checked() override;
  void SetChecked(bool checked) override;
  bool Enabled() override;
  void SetEnabled(bool enabled) override;

 private:
  HWND hwnd_ = nullptr;
};

class Win32Button : public Button {
 public:
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  bool Enabled() override;
  void SetEnabled(bool enabled) override;

 private:
  HWND hwnd_ = nullptr;
};

// A label that takes the size of its text in its own font.
class Win32Label : public Label {
 public:
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  void SetText(const std::string& text) override;
  // Takes the size of its text again, after its font changed.
  void FitToText();

 private:
  HWND hwnd_ = nullptr;
};
