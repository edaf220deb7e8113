#include "platform/platform.h"

namespace {
Platform g_platform;
}

Platform& Sys() { return g_platform; }

void InstallPlatform(const Platform& platform) { g_platform = platform; }
