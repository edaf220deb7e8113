#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <utility>

#include "app/error.h"
#include "platform/win32/win32_platform.h"
#include "settings/form2.h"
#include "tests/fake/fake_controls.h"
#include "tests/fake/fake_platform.h"
#include "tests/win32/temp_dir.h"

// Settings files that no save writes, read by the store's load through the
// real private-profile calls: values at and past their limits, malformed
// numbers, bytes 0x80-0xFF, and files that are no settings file at all.
// Each loads as the documented values or the defaults.

namespace {

// What a load leaves in the dialog and returns.
struct Loaded {
  std::string memLimit, savePath, wavePower, waveRes;
  bool saveLog = false, dateLog = false, wavePowerOn = false, waveResOn = false;
  std::int32_t left = 0, top = 0, width = 0, height = 0;

  bool operator==(const Loaded& o) const {
    return memLimit == o.memLimit && savePath == o.savePath && wavePower == o.wavePower &&
           waveRes == o.waveRes && saveLog == o.saveLog && dateLog == o.dateLog &&
           wavePowerOn == o.wavePowerOn && waveResOn == o.waveResOn && left == o.left &&
           top == o.top && width == o.width && height == o.height;
  }
};

void PrintTo(const Loaded& l, std::ostream* out) {
  *out << "{MemoryLimit " << l.memLimit << ", SavePath (" << l.savePath.size() << " bytes) "
       << l.savePath.substr(0, 60) << ", WavePowerFile " << l.wavePower << ", WaveResFile "
       << l.waveRes << ", boxes " << l.saveLog << l.dateLog << l.wavePowerOn << l.waveResOn
       << ", bounds " << l.left << "," << l.top << "," << l.width << "," << l.height << "}";
}

constexpr std::int32_t kLeft = 5, kTop = 6;

// The executable, as far as the store asks, lives in the test's folder.
class ExeInFolder : public Win32FileSystem {
 public:
  explicit ExeInFolder(std::string exe) : exe_(std::move(exe)) {}
  void Move(std::string exe) { exe_ = std::move(exe); }
  std::string ModuleFileName() override { return exe_; }

 private:
  std::string exe_;
};

std::string Repeat(const std::string& unit, std::size_t bytes) {
  std::string text;
  while (text.size() < bytes) text += unit;
  text.resize(bytes);
  return text;
}

// Bytes no editor writes: NULs, line ends and everything else, from a
// fixed sequence so every run reads the same file.
std::string BinaryBytes(std::size_t count) {
  std::string bytes;
  std::uint32_t state = 12345;
  for (std::size_t i = 0; i < count; ++i) {
    state = state * 1103515245u + 12345u;
    bytes += static_cast<char>(state >> 16);
  }
  return bytes;
}

std::string AllHighBytes() {
  std::string bytes;
  for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
  return bytes;
}

}  // namespace

class HostileIniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Platform platform = Sys();
    platform.files = &files_;
    platform.profile = &profile_;
    InstallPlatform(platform);
  }
  void TearDown() override { RemoveDirectoryA(Ini().c_str()); }

  std::string Ini() const { return dir_.File("Tessaril.ini"); }

  Loaded Defaults() const {
    Loaded d;
    d.memLimit = "200";
    d.savePath = dir_.path() + "\\Tessaril.log";
    d.left = kLeft;
    d.top = kTop;
    d.width = 484;
    d.height = 80;
    return d;
  }

  Loaded Load() {
    const WindowGeometry g = dialog_.form.loadIni(kLeft, kTop);
    Loaded l;
    l.memLimit = dialog_.edMemLimit.text;
    l.savePath = dialog_.edSavePath.text;
    l.wavePower = dialog_.edWavePower.text;
    l.waveRes = dialog_.edWaveRes.text;
    l.saveLog = dialog_.cbSaveLog.checked;
    l.dateLog = dialog_.cbDateLog.checked;
    l.wavePowerOn = dialog_.cbWavePower.checked;
    l.waveResOn = dialog_.cbWaveRes.checked;
    l.left = g.Left;
    l.top = g.Top;
    l.width = g.Width;
    l.height = g.Height;
    return l;
  }

  Loaded LoadMain(const std::string& lines) {
    WriteFileBytes(Ini(), "[main]\r\n" + lines);
    return Load();
  }

  FakePlatform fake_;  // everything but the files and the profile
  TempDir dir_;
  ExeInFolder files_{dir_.File("Tessaril.exe")};
  Win32Profile profile_;
  FakeForm2 dialog_;
};

TEST_F(HostileIniTest, ValuesAtAndPastTheirLimitsAndMalformedNumbers) {
  const std::string zeros = Repeat("0", 2047);
  struct Case {
    std::string name, lines;
    std::function<void(Loaded&)> expect;
  };
  const Case cases[] = {
      {"strings of 2047, 2048 and 5000 bytes",
       "SavePath=C:\\" + Repeat("p\\", 2044) + "\r\nWavePowerFile=" + Repeat("w", 2048) +
           "\r\nWaveResFile=" + Repeat("r", 5000) + "\r\n",
       [](Loaded& l) {
         l.savePath = "C:\\" + Repeat("p\\", 2044);
         l.wavePower = Repeat("w", 2047);
         l.waveRes = Repeat("r", 2047);
       }},
      // The cut comes before the conversion: 2047 zeros, the 7 is lost.
      {"numbers of 2047 and 2048 bytes",
       "MemoryLimit=" + zeros.substr(1) + "9\r\nWidth=" + zeros + "7\r\nHeight=" +
           Repeat("1", 5000) + "\r\n",
       [](Loaded& l) {
         l.memLimit = "9";
         l.width = 0;
       }},
      {"prefixes and signs without digits",
       "MemoryLimit=0x\r\nLeft=-\r\nTop=+\r\nWidth=$\r\nHeight=0X\r\nSaveLog=$\r\nDateLog=x\r\n",
       [](Loaded&) {}},
      {"eleven digits",
       "MemoryLimit=12345678901\r\nLeft=-12345678901\r\nTop=99999999999\r\n"
       "Width=0x123456789\r\nWavePower=10000000000\r\n",
       [](Loaded&) {}},
      {"bytes 0x80-0xFF",
       "MemoryLimit=\x82\x4f\x82\x50\r\nSavePath=C:\\ログソ\\表.log\r\nWavePowerFile=ｱｲｳ.wav\r\n"
       "SaveLog=" + AllHighBytes() + "\r\nWidth=" + AllHighBytes() + "\r\n",
       [](Loaded& l) {
         l.savePath = "C:\\ログソ\\表.log";
         l.wavePower = "ｱｲｳ.wav";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Loaded expected = Defaults();
    c.expect(expected);
    EXPECT_EQ(LoadMain(c.lines), expected);
  }
}

TEST_F(HostileIniTest, FilesThatAreNoSettingsFileLoadTheDefaults) {
  struct Case {
    std::string name;
    std::function<void()> make;
  };
  const Case cases[] = {
      {"empty", [&] { WriteFileBytes(Ini(), ""); }},
      {"binary", [&] { WriteFileBytes(Ini(), BinaryBytes(8192)); }},
      {"a folder", [&] { CreateDirectoryA(Ini().c_str(), nullptr); }},
      {"one line of 70000 bytes", [&] { WriteFileBytes(Ini(), "[main]\r\n" + Repeat("x", 70000)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RemoveDirectoryA(Ini().c_str());
    DeleteFileA(Ini().c_str());
    c.make();
    EXPECT_EQ(Load(), Defaults());
  }
}

TEST_F(HostileIniTest, FolderPastThePathLimitLoadsDefaultsAndRefusesTheSave) {
  // The exe in a folder whose settings file would be 270 bytes long. Wine
  // would write such a file under a garbled name in the current folder.
  const std::string folder = dir_.path() + "\\" + Repeat("f", 270 - dir_.path().size() - 14);
  files_.Move(folder + "\\Tessaril.exe");
  const std::string ini = folder + "\\Tessaril.ini";
  ASSERT_EQ(ini.size(), 270u);
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  const int filesBefore = FilesIn(current);

  Loaded expected = Defaults();
  expected.savePath = folder + "\\Tessaril.log";
  EXPECT_EQ(Load(), expected);
  std::string failure;
  try {
    dialog_.form.saveIni(1, 2, 3, 4);
  } catch (const AppError& error) {
    failure = error.what();
  }
  EXPECT_EQ(failure, ini + " に書き込めません");
  EXPECT_EQ(FilesIn(current), filesBefore) << "a file appeared in " << current;
}
