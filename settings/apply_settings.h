#pragma once

// Loads the settings file into the settings dialog, gives the main window its
// saved bounds and refreshes MonitorSettings from the dialog. The one writer
// of MonitorSettings.
void ApplySettings();
