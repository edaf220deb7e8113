#pragma once
#include <cstdint>
#include <string>

// "電源状態監視開始 200MB": the limit read as unsigned.
std::string MonitorStartText(std::int32_t memoryLimit);
