#include "platform/win32/win32_platform.h"

namespace {

class Win32File : public FileHandle {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  std::uint32_t Write(const std::string& bytes, std::size_t& written) override {
    DWORD count = 0;
    const BOOL ok = WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
    written = count;
    return ok ? 0 : GetLastError();
  }

  std::uint32_t Close() override {
    const BOOL ok = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return ok ? 0 : GetLastError();
  }

 private:
  HANDLE handle_;
};

std::unique_ptr<FileHandle> Open(const std::string& path, DWORD access, DWORD disposition,
                                 std::uint32_t& error) {
  HANDLE h = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return nullptr;
  }
  if (SetFilePointer(h, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR) {
    error = GetLastError();
    CloseHandle(h);
    return nullptr;
  }
  error = 0;
  return std::make_unique<Win32File>(h);
}

}  // namespace

std::unique_ptr<FileHandle> Win32FileSystem::OpenForAppend(const std::string& path,
                                                           std::uint32_t& error) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, error);
}

std::unique_ptr<FileHandle> Win32FileSystem::CreateNew(const std::string& path,
                                                       std::uint32_t& error) {
  return Open(path, GENERIC_WRITE, CREATE_NEW, error);
}

std::unique_ptr<FileHandle> Win32FileSystem::Replace(const std::string& path,
                                                     std::uint32_t& error) {
  return Open(path, GENERIC_WRITE, CREATE_ALWAYS, error);
}

bool Win32FileSystem::FileExists(const std::string& path) {
  if (path.empty()) return false;
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA(path.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::DirectoryExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Win32FileSystem::ModuleFileName() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, length);
}

std::string Win32FileSystem::GetEnv(const std::string& name) {
  const DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) return std::string();
  std::string value(size, '\0');
  const DWORD length = GetEnvironmentVariableA(name.c_str(), &value[0], size);
  value.resize(length < size ? length : 0);
  return value;
}
