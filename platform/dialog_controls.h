#pragma once
#include <string>

// The controls of a dialog as its logic sees them. Each call maps onto one
// message or API call; none of them runs an event handler: a program-made
// change that has a handler is followed by the call of that handler in the
// logic itself.

class Edit {
 public:
  virtual ~Edit() = default;
  virtual std::string Text() = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual bool Enabled() = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

class CheckBox {
 public:
  virtual ~CheckBox() = default;
  virtual bool Checked() = 0;
  // Changes the state without notifying anyone.
  virtual void SetChecked(bool checked) = 0;
  virtual bool Enabled() = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

class Button {
 public:
  virtual ~Button() = default;
  virtual bool Enabled() = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

class Label {
 public:
  virtual ~Label() = default;
  virtual void SetText(const std::string& text) = 0;
};

// The dialog's own window.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;
  virtual bool Visible() = 0;
  // Shows the window and returns when it is hidden again; meanwhile the
  // program's other visible windows take no input. False when the wait ended
  // because the program is ending rather than because of Hide.
  virtual bool RunModal() = 0;
  // Hides the window, ending RunModal.
  virtual void Hide() = 0;
  // Brings the page that holds the edit to the front and puts the keyboard
  // in it, so a refusal is read beside the value it is about.
  virtual void ShowControl(Edit& control) = 0;
};
