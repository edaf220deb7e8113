#include "platform/win32/win32_dpi.h"

#include "platform/win32/win32_platform.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using LoadIconWithScaleDownFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);


}  // namespace

int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow =
      Entry<GetDpiForWindowFn>(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
  const int dpi = getDpiForWindow != nullptr ? static_cast<int>(getDpiForWindow(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto forDpi =
      Entry<GetSystemMetricsForDpiFn>(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi");
  if (forDpi != nullptr) return forDpi(index, static_cast<UINT>(dpi));
  return Rescale(GetSystemMetrics(index), SystemDpi(), dpi);
}

SIZE FrameSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi) {
  static const auto forDpi =
      Entry<AdjustWindowRectExForDpiFn>(GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi");
  RECT frame = {0, 0, client.cx, client.cy};
  if (forDpi != nullptr)
    forDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
  else
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

OwnedIcon LoadIconSized(HINSTANCE module, LPCWSTR name, int size) {
  // The version 6 common controls, which the manifest binds, have it from
  // Windows Vista on.
  static const auto scaleDown =
      Entry<LoadIconWithScaleDownFn>(GetModuleHandleA("comctl32.dll"), "LoadIconWithScaleDown");
  HICON icon = nullptr;
  if (scaleDown != nullptr && SUCCEEDED(scaleDown(module, name, size, size, &icon)))
    return OwnedIcon(icon);
  return OwnedIcon(static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, 0)));
}

OwnedFont MakeTextFont(const char* face, int dpi, int weight, BYTE pitchAndFamily) {
  return OwnedFont(CreateFontA(-Scale(kTextFontPixels, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                               SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, pitchAndFamily, face));
}
