#include "platform/win32/win32_dialog_controls.h"

namespace {

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(hwnd, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

}  // namespace

std::string Win32Edit::Text() { return WindowText(hwnd_); }

void Win32Edit::SetText(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }

bool Win32Edit::Enabled() { return IsWindowEnabled(hwnd_) != FALSE; }

void Win32Edit::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }

bool Win32CheckBox::Checked() {
  return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32CheckBox::SetChecked(bool checked) {
  SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32CheckBox::Enabled() { return IsWindowEnabled(hwnd_) != FALSE; }

void Win32CheckBox::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }

bool Win32Button::Enabled() { return IsWindowEnabled(hwnd_) != FALSE; }

void Win32Button::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }

void Win32Label::SetText(const std::string& text) {
  SetWindowTextA(hwnd_, text.c_str());
  FitToText();
}

void Win32Label::FitToText() {
  const std::string text = WindowText(hwnd_);
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
