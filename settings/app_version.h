#pragma once
#include <string>

// The program's version text, shown by the settings dialog; set once while
// the main window is created.
extern std::string AppVersion;
