#pragma once

// Loads the settings file into the dialog's controls, applies the saved
// bounds to the main window and fills MonitorSettings.
void ApplySettings();
