#include <windows.h>

#include <commctrl.h>

#include "app/application.h"
#include "app/application_window_win32.h"
#include "app/single_instance.h"
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
  const auto set = Entry<SetDefaultDllDirectoriesFn>(GetModuleHandleA("kernel32.dll"),
                                                     "SetDefaultDllDirectories");
  if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The program's windows, created in this order and destroyed in reverse.
struct Windows {
  ApplicationWindow application;
  MainWindow main;
  SettingsDialog settings;
  bool destroyed = false;

  // The exit steps: the settings dialog first, then the main window, whose
  // FormDestroy removes the icon and logs the end line.
  void Destroy() {
    if (destroyed) return;
    destroyed = true;
    Application->LoopEnded = true;
    Form2 = nullptr;
    settings.Destroy();
    if (Form1 != nullptr) {
      try {
        Form1->FormDestroy();
      } catch (const std::exception& error) {
        Application->ShowException(error);
      }
    }
    main.Destroy();
    Form1 = nullptr;
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictDllSearch();
  InstallWin32Platform();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);

  static TApplication application;
  Application = &application;
  application.Title = ApplicationTitle(Sys().files->ModuleFileName());

  static Windows windows;
  HWND appWindow = windows.application.Create(instance, application.Title.c_str());
  application.Handle = reinterpret_cast<WindowId>(appWindow);
  if (!TakeSingleInstance(application.Handle)) return 0;

  windows.application.onEndSession = [] {
    windows.Destroy();
    ExitProcess(0);
  };
  windows.main.Create(instance, appWindow);
  Form1 = &windows.main.form();
  application.MainForm = Form1;
  windows.settings.Create(instance, appWindow, windows.main.hwnd());
  Form2 = &windows.settings.form();
  try {
    LoadStoredSettings();
  } catch (const std::exception& error) {
    application.ShowException(error);
  }

  application.Run();
  windows.Destroy();
  return 0;
}
