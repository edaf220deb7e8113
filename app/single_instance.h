#pragma once
#include "platform/types.h"

// Takes the per-log-on named mutex. When another instance holds it, says so
// in a box owned by `applicationWindow`, brings that instance's main window
// to the front and returns false: this process must end.
bool TakeSingleInstance(WindowId applicationWindow);
