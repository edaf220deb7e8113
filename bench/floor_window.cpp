#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

// The floor of the footprint, start-up, idle and size figures: what any
// program must cost that shows a window with an edit control and an icon in
// the notification area, asks for version 6 of the common controls (the
// program's own manifest) and is linked with the program's flags. It does
// nothing else, so every byte and tick above it is Tessaril's.
//
// With a file path as its command line (unquoted) it shows that file's text
// (Shift-JIS) in its edit control: the floor of a list holding that text.

namespace {

constexpr char kWindowClass[] = "TessarilBenchFloor";
constexpr int kEditId = 1;
constexpr UINT kIconMessage = WM_APP + 1;
constexpr UINT kTextCodePage = 932;

// Plain heap blocks, not the C++ library: the floor's size stays that of a
// program without it.
void ShowFileText(HWND edit, const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  HANDLE heap = GetProcessHeap();
  const DWORD size = GetFileSize(file, nullptr);
  auto* bytes = static_cast<char*>(HeapAlloc(heap, 0, size + 1));
  DWORD read = 0;
  if (bytes == nullptr || !ReadFile(file, bytes, size, &read, nullptr)) read = 0;
  CloseHandle(file);
  if (bytes == nullptr) return;
  const int wideSize = MultiByteToWideChar(kTextCodePage, 0, bytes, static_cast<int>(read),
                                           nullptr, 0);
  auto* text = static_cast<wchar_t*>(HeapAlloc(heap, HEAP_ZERO_MEMORY,
                                               (static_cast<SIZE_T>(wideSize) + 1) * sizeof(wchar_t)));
  if (text != nullptr) {
    MultiByteToWideChar(kTextCodePage, 0, bytes, static_cast<int>(read), text, wideSize);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextW(edit, text);
    HeapFree(heap, 0, text);
  }
  HeapFree(heap, 0, bytes);
}

NOTIFYICONDATAA IconData(HWND window) {
  NOTIFYICONDATAA data = {};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kIconMessage;
  data.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
  lstrcpyA(data.szTip, "floor");
  return data;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
                                  0, 0, 0, 0, window, reinterpret_cast<HMENU>(kEditId),
                                  create->hInstance, nullptr);
      const char* path = static_cast<const char*>(create->lpCreateParams);
      if (path != nullptr && *path != '\0') ShowFileText(edit, path);
      NOTIFYICONDATAA icon = IconData(window);
      Shell_NotifyIconA(NIM_ADD, &icon);
      return 0;
    }
    case WM_SIZE:
      MoveWindow(GetDlgItem(window, kEditId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_DESTROY: {
      NOTIFYICONDATAA icon = IconData(window);
      Shell_NotifyIconA(NIM_DELETE, &icon);
      PostQuitMessage(0);
      return 0;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconA(instance, "MAINICON");
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassA(&wc)) return 1;
  HWND window = CreateWindowExA(0, kWindowClass, "floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                instance, commandLine);
  if (window == nullptr) return 1;
  ShowWindow(window, showCommand);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
