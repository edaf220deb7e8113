#include "platform/win32/win32_quiet_box.h"

#include <algorithm>

#include "app/texts.h"
#include "platform/win32/win32_dpi.h"

namespace {

constexpr int kTextId = 0xFFFF;
// At 96 DPI.
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75, kButtonHeight = 23;

struct BoxRequest {
  const std::string* text;
  const std::string* caption;
  LPCSTR icon;
  // The box's own font and icon, released once it has gone.
  OwnedFont font;
  OwnedIcon iconImage;
};

HWND AddControl(HWND box, const char* className, const char* text, DWORD style, int id,
                const RECT& place, HFONT font) {
  HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, place.left,
                                 place.top, place.right - place.left, place.bottom - place.top, box,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

// The system's message font, which it gives at the system DPI, at `dpi`.
OwnedFont MessageFont(int dpi) {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfMessageFont.lfHeight = Rescale(metrics.lfMessageFont.lfHeight, SystemDpi(), dpi);
  return OwnedFont(CreateFontIndirectA(&metrics.lfMessageFont));
}

void Layout(HWND box, BoxRequest& request) {
  SetWindowTextA(box, request.caption->c_str());
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  // Centred on the work area: taken there first, so that its DPI is the
  // one of the monitor it shows on.
  RECT self = {};
  GetWindowRect(box, &self);
  SetWindowPos(box, nullptr, (work.left + work.right - (self.right - self.left)) / 2,
               (work.top + work.bottom - (self.bottom - self.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int dpi = WindowDpi(box);
  const int margin = Scale(kMargin, dpi);
  const int buttonWidth = Scale(kButtonWidth, dpi), buttonHeight = Scale(kButtonHeight, dpi);
  request.font = MessageFont(dpi);

  RECT text = {0, 0, (work.right - work.left) / 2, 0};
  HDC dc = GetDC(box);
  HGDIOBJ old = SelectObject(dc, request.font.get());
  DrawTextA(dc, request.text->c_str(), -1, &text,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(box, dc);

  const int icon = SystemMetricForDpi(SM_CXICON, dpi);
  const int textLeft = margin + icon + margin;
  const int bodyHeight = std::max<int>(icon, text.bottom);
  const int width = std::max<int>(textLeft + text.right + margin, buttonWidth + 2 * margin);
  const int buttonTop = margin + bodyHeight + margin;
  const int height = buttonTop + buttonHeight + margin;

  HWND iconControl = AddControl(box, "STATIC", nullptr, SS_ICON, -1,
                                {margin, margin, margin + icon, margin + icon}, request.font.get());
  // A resource number (IDI_INFORMATION) is the same in either character set.
  request.iconImage = LoadIconSized(nullptr, reinterpret_cast<LPCWSTR>(request.icon), icon);
  SendMessageA(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(request.iconImage.get()), 0);
  const int textTop = margin + (bodyHeight - text.bottom) / 2;
  AddControl(box, "STATIC", request.text->c_str(), SS_LEFT | SS_NOPREFIX, kTextId,
             {textLeft, textTop, textLeft + text.right, textTop + text.bottom}, request.font.get());
  const int buttonLeft = (width - buttonWidth) / 2;
  HWND ok = AddControl(box, "BUTTON", texts::kOkButton, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK,
                       {buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight},
                       request.font.get());

  const SIZE frame = FrameSizeForClient({width, height},
                                        static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE)),
                                        static_cast<DWORD>(GetWindowLongA(box, GWL_EXSTYLE)), dpi);
  SetWindowPos(box, HWND_TOP, work.left + (work.right - work.left - frame.cx) / 2,
               work.top + (work.bottom - work.top - frame.cy) / 2, frame.cx, frame.cy,
               SWP_NOACTIVATE);
  SetFocus(ok);
}

INT_PTR CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Layout(box, *reinterpret_cast<BoxRequest*>(lParam));
      return FALSE;  // the focus is on OK already
    case WM_COMMAND:
      // OK, Enter, Esc and the close box all dismiss it.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(box, IDOK);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void ShowQuietBox(HWND owner, const std::string& text, const std::string& caption, LPCSTR icon) {
  // An empty template: the controls are placed once the text is measured.
  struct alignas(4) Template {
    DLGTEMPLATE dialog;
    WORD menu, windowClass, title;
  } blank = {};
  blank.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND;
  BoxRequest request{&text, &caption, icon, {}, {}};
  DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &blank.dialog, owner, BoxProc,
                          reinterpret_cast<LPARAM>(&request));
}
