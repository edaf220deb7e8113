#include "settings/apply_settings.h"
#include "shell/form1.h"

void ApplySettings() {}
void TForm1::FormCloseQuery(bool&) {}
void TForm1::O1Click() {}
