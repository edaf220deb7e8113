#pragma once

// Loads the settings file into the settings dialog, gives the main window its
// saved bounds and refreshes MonitorSettings from the dialog. The one writer
// of MonitorSettings.
void ApplySettings();

// Loads the settings file into the dialog's controls and the saved bounds
// into the still hidden main window, leaving MonitorSettings alone. Run at
// start-up, so that a close or a settings command before the main window is
// first shown saves the stored settings, not the controls' initial values.
void LoadStoredSettings();
