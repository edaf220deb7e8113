#include <windows.h>

#include <exception>

#include "app/application.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "settings/apply_settings.h"
#include "settings/settings_dialog_win32.h"
#include "shell/main_window_win32.h"

namespace {

// Before any other DLL is loaded, keep the DLL search to System32: users
// start the program from folders other programs can write to. The call is
// looked up at run time because older systems lack it.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
  auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
  if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  RestrictDllSearch();
  InstallWin32Platform();

  TApplication application;
  Application = &application;
  application.Title = ApplicationTitle(Sys().files->ModuleFileName());

  MainWindow mainWindow;
  mainWindow.Create(instance);
  Form1 = &mainWindow.form();
  SettingsDialog settingsDialog;
  settingsDialog.Create(instance, mainWindow.hwnd(), mainWindow.hwnd());
  Form2 = &settingsDialog.form();

  // The first showing runs on the user's settings and takes the saved bounds.
  try {
    ApplySettings();
  } catch (const std::exception& error) {
    application.ShowException(error);
  }
  ShowWindow(mainWindow.hwnd(), showCommand);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  Form2 = nullptr;
  Form1 = nullptr;
  return 0;
}
