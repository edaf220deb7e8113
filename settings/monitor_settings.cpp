#include "settings/monitor_settings.h"

TMonitorSettings MonitorSettings;
