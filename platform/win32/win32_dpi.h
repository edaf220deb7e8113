#pragma once
#include <windows.h>

#include "platform/dpi_scale.h"
#include "platform/win32/win32_owned.h"

// What the program needs to know of the display's scale. The calls that
// answer per window or per DPI (Windows 10 1607 on) are looked up at run
// time; older systems get the system-wide figures, which there hold for
// every window of the program.

// The system DPI: LOGPIXELSY of the screen.
int SystemDpi();
// The DPI of the monitor the window is on (GetDpiForWindow), else the
// system DPI.
int WindowDpi(HWND window);
// A system metric (SM_CXSMICON, say) at `dpi` (GetSystemMetricsForDpi), else
// the system's figure rescaled from the system DPI.
int SystemMetricForDpi(int index, int dpi);
// The outer size of a window whose client area is `client` (AdjustWindowRectExForDpi,
// else AdjustWindowRectEx, which measures the frame at the system DPI).
SIZE FrameSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi);

// An icon resource at `size` pixels square, scaled down from a larger
// image where it has none of that size (LoadIconWithScaleDown of the common
// controls, else LoadImage). A null module names one of the system's icons
// (IDI_INFORMATION).
OwnedIcon LoadIconSized(HINSTANCE module, LPCWSTR name, int size);

// Height of the program's text fonts at 96 DPI: 12 pixels, 9 points.
inline constexpr int kTextFontPixels = 12;
// The program's Shift-JIS text font of this face, 12 pixels high at 96 DPI,
// scaled to `dpi`.
OwnedFont MakeTextFont(const char* face, int dpi, int weight = FW_NORMAL,
                       BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE);

// The new DPI a WM_DPICHANGED carries.
inline int DpiOfChange(WPARAM wParam) { return HIWORD(wParam); }
// Asks for WM_GETDPISCALEDSIZE, which the headers of older systems lack.
inline constexpr UINT kGetDpiScaledSize = 0x02E4;
