#include "platform/win32/win32_platform.h"

namespace {
constexpr DWORD kValueBufferSize = 2048;
}

std::string Win32Profile::Read(const std::string& path, const std::string& section,
                               const std::string& key, const std::string& def) {
  char buffer[kValueBufferSize];
  const DWORD count = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer,
                                               kValueBufferSize, path.c_str());
  return std::string(buffer, count < kValueBufferSize ? count : kValueBufferSize - 1);
}

bool Win32Profile::Write(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != 0;
}

void Win32Profile::Flush(const std::string& path) {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

bool Win32Profile::DeleteSection(const std::string& path, const std::string& section) {
  return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, path.c_str()) != 0;
}
