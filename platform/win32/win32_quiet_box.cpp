#include "platform/win32/win32_quiet_box.h"

#include <algorithm>

#include "app/texts.h"

namespace {

constexpr int kTextId = 0xFFFF;
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75, kButtonHeight = 23;

struct BoxRequest {
  const std::string* text;
  const std::string* caption;
  LPCSTR icon;
  HFONT font = nullptr;
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

void Layout(HWND box, BoxRequest& request) {
  SetWindowTextA(box, request.caption->c_str());
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  request.font = CreateFontIndirectA(&metrics.lfMessageFont);

  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT text = {0, 0, (work.right - work.left) / 2, 0};
  HDC dc = GetDC(box);
  HGDIOBJ old = SelectObject(dc, request.font);
  DrawTextA(dc, request.text->c_str(), -1, &text,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(box, dc);

  const int icon = GetSystemMetrics(SM_CXICON);
  const int textLeft = kMargin + icon + kMargin;
  const int bodyHeight = std::max<int>(icon, text.bottom);
  const int width = std::max<int>(textLeft + text.right + kMargin, kButtonWidth + 2 * kMargin);
  const int buttonTop = kMargin + bodyHeight + kMargin;
  const int height = buttonTop + kButtonHeight + kMargin;

  HWND iconControl = AddControl(box, "STATIC", nullptr, SS_ICON, -1,
                                {kMargin, kMargin, kMargin + icon, kMargin + icon}, request.font);
  SendMessageA(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, request.icon)),
               0);
  const int textTop = kMargin + (bodyHeight - text.bottom) / 2;
  AddControl(box, "STATIC", request.text->c_str(), SS_LEFT | SS_NOPREFIX, kTextId,
             {textLeft, textTop, textLeft + text.right, textTop + text.bottom}, request.font);
  const int buttonLeft = (width - kButtonWidth) / 2;
  HWND ok = AddControl(box, "BUTTON", texts::kOkButton, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK,
                       {buttonLeft, buttonTop, buttonLeft + kButtonWidth, buttonTop + kButtonHeight},
                       request.font);

  RECT frame = {0, 0, width, height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(box, GWL_EXSTYLE)));
  const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
  SetWindowPos(box, HWND_TOP, work.left + (work.right - work.left - frameWidth) / 2,
               work.top + (work.bottom - work.top - frameHeight) / 2, frameWidth, frameHeight,
               SWP_NOACTIVATE);
  SetFocus(ok);
}

INT_PTR CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(box, DWLP_USER, lParam);
      Layout(box, *reinterpret_cast<BoxRequest*>(lParam));
      return FALSE;  // the focus is on OK already
    case WM_COMMAND:
      // OK, Enter, Esc and the close box all dismiss it.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(box, IDOK);
      return TRUE;
    case WM_DESTROY: {
      auto* request = reinterpret_cast<BoxRequest*>(GetWindowLongPtrA(box, DWLP_USER));
      if (request != nullptr && request->font != nullptr) DeleteObject(request->font);
      return FALSE;
    }
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
  BoxRequest request{&text, &caption, icon};
  DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &blank.dialog, owner, BoxProc,
                          reinterpret_cast<LPARAM>(&request));
}
