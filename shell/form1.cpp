#include "shell/form1.h"

#include <exception>

#include "app/application.h"
#include "monitor/memory_watch.h"
#include "platform/platform.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(FormWindow& window, Memo& memo, TimerDevice& timer)
    : Memo1(memo), Timer1(timer, kMemoryCheckIntervalMs), window_(window) {}

void TForm1::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (!visible) {
    window_.ShowNative(show::kHide);
    return;
  }
  // The start sequence runs before the window appears, so it opens at its
  // saved place; its errors end it and go to the report, and the window is
  // shown all the same.
  try {
    FormShow();
  } catch (const std::exception& error) {
    Application->ShowException(error);
  }
  window_.ShowNative(windowState_ == TWindowState::wsMaximized ? show::kMaximized : show::kNormal);
}

void TForm1::SetWindowState(TWindowState state) {
  windowState_ = state;
  if (!visible_) return;
  WindowSystem& windows = *Sys().windows;
  if (state == TWindowState::wsNormal &&
      (windows.IsZoomed(Handle()) || windows.IsIconic(Handle())))
    window_.ShowNative(show::kRestore);
  else if (state == TWindowState::wsMaximized)
    window_.ShowNative(show::kMaximized);
}

void TForm1::Close() {
  // Once the loop has ended the settings dialog is gone: a close request
  // then must not reach the close query, which saves from it.
  if (Application->LoopEnded) return;
  bool canClose = true;
  FormCloseQuery(canClose);
  if (!canClose) return;
  TCloseAction action = TCloseAction::caHide;
  FormClose(action);
  if (action == TCloseAction::caNone) return;
  Application->Terminate();  // the main window's close ends the program
}

void TForm1::FormClose(TCloseAction& Action) {
  if (!Application->QuitReceived) return;
  Sys().windows->Show(Application->Handle, show::kHide);
  SetVisible(false);
  Action = TCloseAction::caNone;
}

void TForm1::X1Click() { Close(); }

void TForm1::AppMinimize() {
  Sys().windows->Show(Application->Handle, show::kHide);
  Application->MainWindowShown = false;
}
