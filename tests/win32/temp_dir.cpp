#include "tests/win32/temp_dir.h"

#include <cstdio>
#include <stdexcept>

TempDir::TempDir() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  char name[64];
  std::snprintf(name, sizeof name, "tess%lu_%d", GetCurrentProcessId(), ++counter);
  path_ = std::string(base) + name;
  if (!CreateDirectoryA(path_.c_str(), nullptr)) throw std::runtime_error("cannot create " + path_);
}

TempDir::~TempDir() {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((path_ + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string file = path_ + "\\" + data.cFileName;
      SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(file.c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(path_.c_str());
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char buffer[4096];
  DWORD count = 0;
  while (ReadFile(h, buffer, sizeof buffer, &count, nullptr) && count > 0) bytes.append(buffer, count);
  CloseHandle(h);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD count = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
  CloseHandle(h);
}

int FilesIn(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) ++count;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return count;
}
