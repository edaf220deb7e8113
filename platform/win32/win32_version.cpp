#include "platform/win32/win32_platform.h"

namespace {

struct VersionApi {
  DWORD(WINAPI* size)(LPCSTR, LPDWORD) = nullptr;
  BOOL(WINAPI* read)(LPCSTR, DWORD, DWORD, LPVOID) = nullptr;
  BOOL(WINAPI* query)(LPCVOID, LPCSTR, LPVOID*, PUINT) = nullptr;
};

// version.dll is not a KnownDLL: load it from System32 only.
const VersionApi& Api() {
  static const VersionApi api = [] {
    VersionApi a;
    if (HMODULE module = LoadSystemLibrary("version.dll")) {
      Resolve(module, "GetFileVersionInfoSizeA", a.size);
      Resolve(module, "GetFileVersionInfoA", a.read);
      Resolve(module, "VerQueryValueA", a.query);
    }
    return a;
  }();
  return api;
}

}  // namespace

std::uint32_t Win32VersionInfo::BlockSize(const std::string& path) {
  if (Api().size == nullptr) return 0;
  DWORD handle = 0;
  return Api().size(path.c_str(), &handle);
}

bool Win32VersionInfo::ReadBlock(const std::string& path, std::uint32_t size, void* buffer) {
  return Api().read != nullptr && Api().read(path.c_str(), 0, size, buffer) != 0;
}

const void* Win32VersionInfo::Query(const void* block, const std::string& subBlock,
                                    std::uint32_t& length) {
  length = 0;
  if (Api().query == nullptr) return nullptr;
  void* value = nullptr;
  UINT size = 0;
  Api().query(block, subBlock.c_str(), &value, &size);
  length = size;
  return value;
}
