#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "tests/e2e/harness.h"

#include <tlhelp32.h>

// A winmm.dll, a version.dll and a wevtapi.dll planted beside the program,
// where any program that may write to the folder can put them. Wine takes its
// own builtin DLLs even for files found there unless told to prefer native
// ones, so the programs started here have these set to native first;
// without that the test would pass whatever the program did, which the
// control program rules out.

namespace {

constexpr WPARAM kPowerStatusChange = 0x0A;
constexpr WPARAM kSuspend = 0x04;
constexpr WPARAM kResumeAutomatic = 0x12;
const char* const kPlanted[] = {"winmm.dll", "version.dll"};

// Tells Wine to prefer the planted DLLs in the given programs, until the
// object goes. This is WINEDLLOVERRIDES=version,wevtapi,winmm=n,b
// in its per-program registry form: Wine takes WINEDLLOVERRIDES from the
// Unix environment of the first Wine process, so a value set here would not
// reach the programs this test starts.
class PreferNativeDlls {
 public:
  explicit PreferNativeDlls(std::vector<std::string> programs) : programs_(std::move(programs)) {
    for (const std::string& program : programs_) {
      HKEY key = nullptr;
      if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyOf(program).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the DLL overrides of " + program);
      static const char kNativeFirst[] = "native,builtin";
      for (const char* dll : {"winmm", "version", "wevtapi"})
        RegSetValueExA(key, dll, 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst),
                       sizeof kNativeFirst);
      RegCloseKey(key);
    }
  }
  ~PreferNativeDlls() {
    for (const std::string& program : programs_) {
      RegDeleteKeyA(HKEY_CURRENT_USER, KeyOf(program).c_str());
      RegDeleteKeyA(HKEY_CURRENT_USER, ("Software\\Wine\\AppDefaults\\" + program).c_str());
    }
  }
  PreferNativeDlls(const PreferNativeDlls&) = delete;
  PreferNativeDlls& operator=(const PreferNativeDlls&) = delete;

 private:
  static std::string KeyOf(const std::string& program) {
    return "Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides";
  }
  std::vector<std::string> programs_;
};

// The kit built for the exe's bitness: the stand-in DLLs and the control.
std::string KitFolder(const std::string& exe) {
  DWORD type = 0;
  const bool is32 = GetBinaryTypeA(exe.c_str(), &type) && type == SCS_32BIT_BINARY;
  return WindowsPath(TESSARIL_PLANT_KIT) + (is32 ? "32" : "64");
}

// Runs a program in `folder` and returns its exit code; throws on time-out.
DWORD RunIn(const std::string& folder, const std::string& exe, const std::string& argument) {
  std::string commandLine = "\"" + exe + "\" " + argument;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info))
    throw std::runtime_error("cannot start " + exe);
  CloseHandle(info.hThread);
  const DWORD waited = WaitForSingleObject(info.hProcess, static_cast<DWORD>(kStartTimeout.count()));
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  if (waited != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hProcess);
  if (waited != WAIT_OBJECT_0) throw std::runtime_error(exe + " did not end");
  return code;
}

// The path of a DLL loaded in the program's process, or nothing.
std::optional<std::string> LoadedModule(const TessarilProcess& app, const char* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, app.ProcessId());
  MODULEENTRY32 module = {};
  module.dwSize = sizeof module;
  std::optional<std::string> path;
  for (BOOL more = snapshot != INVALID_HANDLE_VALUE && Module32First(snapshot, &module);
       more && !path; more = Module32Next(snapshot, &module))
    if (lstrcmpiA(module.szModule, name) == 0) path = module.szExePath;
  if (snapshot != INVALID_HANDLE_VALUE) CloseHandle(snapshot);
  return path;
}

// Half a second of 8-bit mono silence.
std::string SilentWav() {
  constexpr std::uint32_t kRate = 8000, kSamples = 4000;
  auto u32 = [](std::uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
  };
  auto u16 = [](std::uint16_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8)};
  };
  const std::string format = u16(1) + u16(1) + u32(kRate) + u32(kRate) + u16(1) + u16(8);
  const std::string body = "WAVEfmt " + u32(16) + format + "data" + u32(kSamples) +
                           std::string(kSamples, static_cast<char>(0x80));
  return "RIFF" + u32(static_cast<std::uint32_t>(body.size())) + body;
}

// The settings dialog's bottom line, read with the dialog open, which is
// then closed with its OK button.
std::string VersionLine(const TessarilProcess& app) {
  HWND dialog = OpenSettings(app);
  if (dialog == nullptr) throw std::runtime_error("the settings dialog did not open");
  HWND ok = FindControl(dialog, "button", "&OK");
  if (ok == nullptr) throw std::runtime_error("the settings dialog has no OK button");
  // The version line is the text beside the OK button.
  const std::string line = WindowText(FindControl(GetParent(ok), "static"));
  PostMessageA(ok, BM_CLICK, 0, 0);
  if (!WaitFor([&] { return !IsWindowVisible(dialog); }))
    throw std::runtime_error("the settings dialog did not close");
  return line;
}

}  // namespace

TEST(PlantedDll, NeverLoadedByTheProgramThoughAPlainLoadTakesThem) {
  TessarilProcess app;
  const std::string kit = KitFolder(app.FilePath("Tessaril.exe"));
  for (const char* name : {"winmm.dll", "version.dll", "load_plain.exe"})
    ASSERT_TRUE(CopyFileA((kit + "\\" + name).c_str(), app.FilePath(name).c_str(), FALSE))
        << name;
  PreferNativeDlls overrides({"load_plain.exe", "Tessaril.exe"});

  // The control: from the same folder, a plain load by name takes them.
  for (const char* dll : kPlanted) {
    EXPECT_EQ(RunIn(app.Folder(), app.FilePath("load_plain.exe"), dll), 0u) << dll;
    const std::string marker = std::string(dll) + ".loaded";
    ASSERT_TRUE(app.ReadFile(marker)) << dll << " was not loaded by the control program";
    DeleteFileA(app.FilePath(marker).c_str());
  }

  // Logging on, and a sound for power events, so PlaySound is reached.
  app.WriteFile("power.wav", SilentWav());
  LaunchOptions options;
  options.ini = "[main]\r\nSaveLog=1\r\nSavePath=" + app.FilePath("Tessaril.log") +
                "\r\nWavePower=1\r\nWavePowerFile=" + app.FilePath("power.wav") + "\r\n";
  app.Start(options);
  EXPECT_EQ(VersionLine(app), "Tessaril ver.1.1.0.0");
  app.SendPowerBroadcast(kPowerStatusChange, 0);
  const std::optional<std::string> log = app.ReadFile("Tessaril.log");
  ASSERT_TRUE(log);
  EXPECT_NE(log->find("電源状態変更"), std::string::npos) << *log;
  app.Close();
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));

  EXPECT_FALSE(app.ReadFile("winmm.dll.loaded")) << "the planted winmm.dll was loaded";
  EXPECT_FALSE(app.ReadFile("winmm.dll.called"));
  // Wine's own user32 imports version.dll (Windows' does not), so under Wine
  // the planted one is loaded before the program's first line: this marker
  // shows that the native-first setting reached the program. What the
  // program controls is that its own version calls never reach it.
  EXPECT_TRUE(app.ReadFile("version.dll.loaded")) << "the override did not reach the program";
  EXPECT_FALSE(app.ReadFile("version.dll.called")) << "the planted version.dll was used";
}

// The lookup of what woke the machine loads wevtapi.dll at its first try,
// seconds after a resume; under Wine the System log cannot be read, so that
// try ends it.
TEST(PlantedDll, EventLogApiFromSystem32AndNothingMoreWhereTheLogCannotBeRead) {
  TessarilProcess app;
  if (app.Is32Bit())
    GTEST_SKIP() << "the 32-bit program's modules cannot be listed from this driver under "
                    "qemu (ERROR_NOACCESS), so the lookup's first try cannot be seen";
  const std::string kit = KitFolder(app.FilePath("Tessaril.exe"));
  for (const char* name : {"wevtapi.dll", "load_plain.exe"})
    ASSERT_TRUE(CopyFileA((kit + "\\" + name).c_str(), app.FilePath(name).c_str(), FALSE));
  PreferNativeDlls overrides({"load_plain.exe", "Tessaril.exe"});
  EXPECT_EQ(RunIn(app.Folder(), app.FilePath("load_plain.exe"), "wevtapi.dll"), 0u);
  ASSERT_TRUE(DeleteFileA(app.FilePath("wevtapi.dll.loaded").c_str())) << "the control did not";

  LaunchOptions options;
  options.ini = "[main]\r\nMemoryLimit=0\r\nSaveLog=1\r\nSavePath=" +
                app.FilePath("Tessaril.log") + "\r\n[extra]\r\nSuspendLog=1\r\n";
  app.Start(options);
  ASSERT_FALSE(LoadedModule(app, "wevtapi.dll")) << "loaded before any lookup";
  app.SendPowerBroadcast(kSuspend, 0);
  app.SendPowerBroadcast(kResumeAutomatic, 0);
  const std::string list = app.MemoText();
  const std::optional<std::string> log = app.ReadFile("Tessaril.log");
  ASSERT_TRUE(WaitFor([&] { return LoadedModule(app, "wevtapi.dll").has_value(); },
                      kStartTimeout));
  DWORD_PTR reply = 0;  // returns once the try that loaded it has ended
  SendMessageTimeoutA(app.MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL,
                      static_cast<UINT>(kReplyTimeout.count()), &reply);
  EXPECT_EQ(app.MemoText(), list);
  EXPECT_EQ(app.ReadFile("Tessaril.log"), log);
  for (HWND window : app.WindowsOfProcess())
    EXPECT_FALSE(ClassOf(window) == "#32770" && IsWindowVisible(window)) << "a box came";
  app.Close();
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_FALSE(app.ReadFile("wevtapi.dll.loaded")) << "the planted wevtapi.dll was loaded";
}
