#include "settings/app_version.h"

std::string AppVersion;
