#include "app/application.h"

#include "app/error.h"
#include "monitor/sjis_path.h"
#include "platform/platform.h"
#include "shell/form1.h"

TApplication* Application = nullptr;

std::string ApplicationTitle(const std::string& moduleFileName) {
  std::string name = moduleFileName.substr(DirectoryPart(moduleFileName).size());
  const std::size_t dot = name.find('.');  // '.' is never a Shift-JIS trail byte
  if (dot != std::string::npos) name.resize(dot);
  // Lower-case single-byte letters only; a trail byte in 'A'..'Z' stays.
  for (std::size_t i = 0; i < name.size();) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (IsSjisLeadByte(byte) && i + 1 < name.size()) {
      i += 2;
      continue;
    }
    if (i > 0 && byte >= 'A' && byte <= 'Z') name[i] = static_cast<char>(byte - 'A' + 'a');
    ++i;
  }
  return name;
}

void TApplication::ShowException(const std::exception& error) {
  Sys().dialogs->ShowMessage(0, ErrorReportText(error.what()), Title, MessageKind::Error);
}

void TApplication::HandleMessage() {
  if (!Sys().windows->WaitAndDispatch()) QuitReceived = true;
}

void TApplication::ProcessMessages() {
  if (!Sys().windows->DispatchPending()) QuitReceived = true;
}

void TApplication::Terminate() { Sys().windows->PostQuit(); }

void TApplication::Run() {
  const int command = Sys().windows->LaunchShowCommand();
  if (command == show::kMaximized) MainForm->SetWindowState(TWindowState::wsMaximized);
  if (command == show::kMinNoActive) MainForm->SetWindowState(TWindowState::wsMinimized);
  if (MainWindowShown) {
    try {
      if (MainForm->WindowState() == TWindowState::wsMinimized) {
        Minimize();
      } else {
        ShowTaskBarButton();
        MainForm->SetVisible(true);
      }
    } catch (const std::exception& error) {
      ShowException(error);
    }
  }
  while (!QuitReceived) {
    try {
      HandleMessage();
    } catch (const std::exception& error) {
      ShowException(error);
    }
  }
}

void TApplication::ShowTaskBarButton() {
  WindowSystem& windows = *Sys().windows;
  // On Windows the process's first ShowWindow may follow the launch's show
  // command instead of its own (hidden, minimised, maximised): whatever it
  // did, the button ends up shown and the window neither minimised nor
  // stretched over the screen.
  windows.Show(Handle, show::kNormal);
  if (windows.IsIconic(Handle) || windows.IsZoomed(Handle)) windows.Show(Handle, show::kRestore);
  if (!windows.IsVisible(Handle)) windows.Show(Handle, show::kShow);
}

void TApplication::Minimize() {
  WindowSystem& windows = *Sys().windows;
  if (windows.IsIconic(Handle)) return;
  windows.Show(Handle, show::kMinimize);
  // Windows hides owned windows with their minimised owner; Wine does not.
  // Hide the main window here, without touching its visible property.
  if (MainForm != nullptr && MainForm->Visible() && windows.IsVisible(MainForm->Handle())) {
    windows.Show(MainForm->Handle(), show::kHide);
    parkedMainWindow_ = true;
  }
  // The program's other windows (the graph) go with it.
  windows.ShowOwned(Handle, false);
  if (OnMinimize) OnMinimize();
}

void TApplication::Restore() {
  WindowSystem& windows = *Sys().windows;
  if (windows.IsIconic(Handle)) windows.Show(Handle, show::kRestore);
  if (parkedMainWindow_) {
    parkedMainWindow_ = false;
    windows.Show(MainForm->Handle(), show::kShowNA);
  }
  windows.ShowOwned(Handle, true);
}
