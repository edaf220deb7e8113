#pragma once
#include "platform/window_system.h"

// The record that adds the icon: callback message, icon and tip "Tessaril".
TrayIconData TrayIconAddRecord(WindowId trayWindow);
// The record that removes it: the window and id alone.
TrayIconData TrayIconDeleteRecord(WindowId trayWindow);
// The items of PopupMenu1.
std::vector<MenuItem> PopupMenu1Items();
