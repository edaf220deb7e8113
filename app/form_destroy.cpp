#include "app/application.h"
#include "app/texts.h"
#include "monitor/event_line.h"
#include "monitor/log_file.h"
#include "shell/form1.h"

void TForm1::FormDestroy() {
  SuspendResume.Cancel();
  DeleteTaskBarIcon();
  window_.DestroyTrayWindow();
  TaskTrayWnd = 0;
  Application->ProcessMessages();
  WriteLog(EventLine(texts::kMonitorEnd));
}
