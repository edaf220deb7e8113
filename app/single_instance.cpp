#include "app/single_instance.h"

#include "app/texts.h"
#include "platform/platform.h"

bool TakeSingleInstance(WindowId applicationWindow) {
  WindowSystem& windows = *Sys().windows;
  // Any result but a time-out runs the program: also a mutex left behind by
  // a killed instance, and a failed creation (no guard then).
  if (windows.TakeNamedMutex(texts::kMutexName) != kWaitTimeout) return true;
  Sys().dialogs->ShowMessage(applicationWindow, texts::kAlreadyRunning,
                             texts::kAlreadyRunningCaption, MessageKind::Plain);
  if (WindowId other = windows.Find(texts::kMainWindowClass, texts::kMainWindowCaption))
    windows.SetForeground(other);
  return false;
}
