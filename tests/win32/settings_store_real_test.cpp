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

// The private-profile calls put a new section at the end of the file: on a
// fresh install the graph window's place made "[extra]" first, and the
// first settings save added "[main]" after it. (The in-memory profile keeps
// "main" first whatever happens, so this runs against the disk only.)
TEST_P(SettingsStoreTest, MainStaysFirstWhenTheGraphSavedItsPlaceOnAFreshInstall) {
  for (const bool anyExtra : {true, false}) {
    backend->WriteIni("");
    {
      IniFile ini(SettingsFilePath());
      WriteGraphBounds(ini, {-5, 10, 640, 480});
    }
    dialog.edSavePath.text = "C:\\t.log";
    dialog.cbSuspendLog.checked = anyExtra;
    dialog.form.saveIni(1, 2, 3, 4);
    const std::vector<std::string> lines = backend->IniLines();
    ASSERT_GE(lines.size(), 13u) << anyExtra;
    EXPECT_EQ(lines[0], "[main]") << anyExtra;
    const auto extra = std::find(lines.begin(), lines.end(), "[extra]");
    ASSERT_EQ(extra, lines.begin() + 13) << anyExtra;
    std::vector<std::string> expected;
    if (anyExtra) expected = {"SuspendLog=1", "BatteryLimit=0", "TopPrograms=0", "AlertOnce=0"};
    for (const char* key : {"GraphLeft=-5", "GraphTop=10", "GraphWidth=640", "GraphHeight=480"})
      expected.push_back(key);
    EXPECT_EQ(std::vector<std::string>(extra + 1, lines.end()), expected) << anyExtra;
  }
}
