#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_quiet_box.h"
#include "platform/win32/win32_window_system.h"

#include <commdlg.h>

#include <cstring>
#include <vector>

namespace {

using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEA);

// The common dialogs are loaded on first use: linked statically they would
// bring their printing dependencies into every run of a resident program
// that rarely shows them.
FileDialogFn FileDialogEntry(bool save) {
  static HMODULE comdlg32 = LoadSystemLibrary("comdlg32.dll");
  return Entry<FileDialogFn>(comdlg32, save ? "GetSaveFileNameA" : "GetOpenFileNameA");
}

}  // namespace

void Win32Dialogs::ShowMessage(WindowId owner, const std::string& text, const std::string& caption,
                              MessageKind kind) {
  // A box belongs to the window the user is in: closing it gives the
  // activation straight back to that window, and no other window is
  // disabled on its account. With none of the program's windows active, an
  // error box is modal to them all and the information box stands alone.
  HWND parent = owner != 0 ? reinterpret_cast<HWND>(owner) : GetActiveWindow();
  // A window disabled by a modal one (activated all the same by the tray's
  // popup) would not be enabled again when the box closes: the box goes to
  // the window in front instead.
  if (parent != nullptr && !IsWindowEnabled(parent)) parent = FrontWindowOfThread(nullptr);
  if (kind == MessageKind::Information) {
    ShowQuietBox(parent, text, caption, IDI_INFORMATION);
    return;
  }
  UINT style = MB_OK;
  if (kind == MessageKind::Error) style |= MB_ICONERROR;
  if (parent == nullptr) style |= MB_TASKMODAL;
  ::MessageBoxA(parent, text.c_str(), caption.c_str(), style);
}

bool Win32Dialogs::RunFileDialog(FileDialogRequest& request) {
  // The filter's "|" separators become the NULs the common dialog expects.
  std::vector<char> filter(request.filter.begin(), request.filter.end());
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.push_back('\0');
  filter.push_back('\0');

  char fileName[MAX_PATH] = {};
  std::strncpy(fileName, request.fileName.c_str(), MAX_PATH - 1);

  OPENFILENAMEA ofn;
  std::memset(&ofn, 0, sizeof ofn);
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter.data();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = fileName;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
  ofn.lpstrTitle = request.title.c_str();
  ofn.lpstrDefExt = request.defaultExt.c_str();
  // The current directory stays put: a relative log or sound path must not
  // change its meaning because the user browsed somewhere.
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (request.confirmOverwrite) ofn.Flags |= OFN_OVERWRITEPROMPT;

  const FileDialogFn run = FileDialogEntry(request.save);
  if (run == nullptr || !run(&ofn)) return false;
  request.fileName = fileName;
  return true;
}
