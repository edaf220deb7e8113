#pragma once
#include <windows.h>

#include <string>

// A fresh folder under %TEMP% for one test, removed with its files after it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The files (not folders) in a folder; 0 when it is missing.
int FilesIn(const std::string& folder);
