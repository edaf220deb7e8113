#include "tests/shared/settings_store_cases.h"

#include "platform/win32/win32_platform.h"
#include "tests/win32/temp_dir.h"

namespace {

// An executable that lives in a fresh temporary folder.
class TempExeFileSystem : public Win32FileSystem {
 public:
  explicit TempExeFileSystem(std::string exe) : exe_(std::move(exe)) {}
  std::string ModuleFileName() override { return exe_; }

 private:
  std::string exe_;
};

// The settings file as the real private-profile calls keep it on disk.
class RealStoreBackend : public StoreBackend {
 public:
  RealStoreBackend() : files_(dir_.File("Tessaril.exe")) {
    Platform platform = Sys();
    platform.files = &files_;
    platform.profile = &profile_;
    InstallPlatform(platform);
  }
  ~RealStoreBackend() override { RemoveDirectoryA(Ini().c_str()); }

  std::string ExeFolder() override { return dir_.path() + "\\"; }

  std::vector<std::string> IniLines() override {
    const std::string bytes = ReadFileBytes(Ini());
    if (bytes == "<missing>") return {};
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t end = bytes.find("\r\n", start);
      if (end == std::string::npos) end = bytes.size();
      lines.push_back(bytes.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }

  void WriteIni(const std::string& bytes) override { WriteFileBytes(Ini(), bytes); }

  // A read-only file does not stop an administrator; a folder in the
  // file's place stops everyone.
  void RefuseWrites() override {
    DeleteFileA(Ini().c_str());
    CreateDirectoryA(Ini().c_str(), nullptr);
  }

 private:
  std::string Ini() { return dir_.File("Tessaril.ini"); }

  FakePlatform fake_;  // everything but the files and the profile
  TempDir dir_;
  TempExeFileSystem files_;
  Win32Profile profile_;
};

std::unique_ptr<StoreBackend> MakeRealBackend() { return std::make_unique<RealStoreBackend>(); }

}  // namespace

INSTANTIATE_TEST_SUITE_P(Real, SettingsStoreTest,
                         ::testing::Values(StoreBackendFactory{"Disk", &MakeRealBackend}),
                         StoreBackendName);

// The private-profile calls add a section at the end of the file: on a
// fresh install the graph window's place came first, "[main]" after it.
// (The in-memory profile keeps "main" first whatever, so this runs on disk.)
TEST_P(SettingsStoreTest, MainStaysFirstWhenTheGraphSavedItsPlaceOnAFreshInstall) {
  {
    IniFile ini(SettingsFilePath());
    WriteGraphBounds(ini, {-5, 10, 640, 480});
  }
  dialog.cbSuspendLog.checked = true;
  dialog.form.saveIni(1, 2, 3, 4);
  const std::vector<std::string> lines = backend->IniLines();
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[0], "[main]");
  EXPECT_EQ(lines[13], "[extra]");
  EXPECT_EQ(lines[14], "SuspendLog=1");
  EXPECT_EQ(lines[21], "GraphHeight=480");
}
