#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <thread>

#include "tests/e2e/harness.h"

namespace {


// The class name in lower case, as the control table spells it.
std::string LowerClassOf(HWND window) {
  std::string text = ClassOf(window);
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool Closed(HWND dialog) {
  return WaitFor([&] { return !IsWindowVisible(dialog); });
}

// The dialog thread's active and focused windows and the foreground, for
// failure messages.
std::string Activation(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  char text[128];
  std::snprintf(text, sizeof text, "active %p focus %p foreground %p dialog %p",
                static_cast<void*>(info.hwndActive), static_cast<void*>(info.hwndFocus),
                static_cast<void*>(GetForegroundWindow()), static_cast<void*>(dialog));
  return text;
}

void Key(HWND target, WPARAM key) {
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void SetText(HWND control, const std::string& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, 5000, &result);
}

bool Checked(HWND box) {
  DWORD_PTR state = 0;
  SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
  return state == BST_CHECKED;
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

// The keys of the settings file, as "key=value" lines after "[main]".
std::vector<std::string> IniLines(const TessarilProcess& app) {
  std::vector<std::string> lines;
  const std::optional<std::string> bytes = app.ReadFile("Tessaril.ini");
  if (!bytes) return lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes->find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes->substr(start, end - start));
  return lines;
}

// A folder of the test's own inside the program's folder, removed first.
class SubFolder {
 public:
  SubFolder(const TessarilProcess& app, const std::string& name) : path_(app.FilePath(name)) {
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~SubFolder() {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path_ + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do DeleteFileA((path_ + "\\" + data.cFileName).c_str());
      while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(path_.c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Starts the program on these settings and waits until its start sequence
// has run and its window shows.
bool StartShown(TessarilProcess& app, const std::optional<std::string>& ini) {
  LaunchOptions options;
  options.ini = ini;
  app.Start(options);
  return WaitFor(
      [&] {
        return IsWindowVisible(app.MainWindow()) &&
               app.MemoText().find("電源状態監視開始 ") != std::string::npos;
      },
      kStartTimeout);
}

const char kAllTicked[] =
    "[main]\r\nMemoryLimit=0\r\nSaveLog=1\r\nWavePower=1\r\nWaveRes=1\r\n"
    "Left=300\r\nTop=300\r\n";

}  // namespace

TEST(SettingsDialog, WindowAndControlsAsDesigned) {
  TessarilProcess app;
  ASSERT_TRUE(StartShown(app, std::string(kAllTicked)));
  HWND dialog = OpenSettings(app);
  ASSERT_NE(dialog, nullptr);
  const SettingsControls c = FindSettingsControls(dialog);
  EXPECT_EQ(WindowText(dialog), "設定");
  RECT client = {};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 394);
  EXPECT_EQ(client.bottom, 277);
  const LONG style = GetWindowLongA(dialog, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU) << "close box";
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_FALSE(IsWindowEnabled(app.MainWindow())) << "modal";

  // First shown centred over the main window.
  RECT main = {}, self = {};
  GetWindowRect(app.MainWindow(), &main);
  GetWindowRect(dialog, &self);
  EXPECT_NEAR(self.left + self.right, main.left + main.right, 2);
  EXPECT_NEAR(self.top + self.bottom, main.top + main.bottom, 2);

  struct Expected {
    HWND control, parent;
    const char* className;
    int left, top, width, height;
    const char* text;
  };
  const Expected controls[] = {
      {c.pageControl1, dialog, "systabcontrol32", 0, 0, 394, 240, ""},
      {c.groupBox4, c.tabSheet1, "button", 0, 8, 385, 49, "リソース監視"},
      {c.label2, c.groupBox4, "static", 8, 24, 100, 12, "使用可能なメモリが"},
      {c.edMemLimit, c.groupBox4, "edit", 120, 20, 49, 20, "0"},
      {c.label5, c.groupBox4, "static", 176, 24, 140, 12, "MB以下になったら通知する"},
      {c.groupBox1, c.tabSheet1, "button", 0, 63, 385, 68, "ログ"},
      {c.cbSaveLog, c.groupBox1, "button", 8, 16, 161, 17, "ログ出力先"},
      {c.edSavePath, c.groupBox1, "edit", 120, 16, 225, 20, nullptr},
      {c.cbDateLog, c.groupBox1, "button", 8, 40, 209, 17, "ファイル名に年月日を付加する"},
      {c.groupBox3, c.tabSheet1, "button", 0, 136, 385, 74, "サウンド"},
      {c.edWavePower, c.groupBox3, "edit", 120, 16, 225, 20, ""},
      {c.edWaveRes, c.groupBox3, "edit", 120, 40, 225, 20, ""},
      {c.cbWavePower, c.groupBox3, "button", 8, 18, 105, 17, "電源状態変更時"},
      {c.cbWaveRes, c.groupBox3, "button", 8, 42, 105, 17, "リソース監視時"},
      {c.btnWavePower, c.tabSheet1, "button", 351, 151, 27, 22, "..."},
      {c.btnWaveRes, c.tabSheet1, "button", 351, 176, 27, 22, "..."},
      {c.btnSavePath, c.tabSheet1, "button", 351, 79, 27, 22, "..."},
      {c.panel1, dialog, nullptr, 0, 240, 394, 37, ""},
      {c.button1, c.panel1, "button", 316, 7, 75, 25, "&OK"},
  };
  for (const Expected& e : controls) {
    const std::string what = ClassOf(e.control) + " " + WindowText(e.control);
    EXPECT_EQ(GetParent(e.control), e.parent) << what;
    if (e.className != nullptr) {
      EXPECT_EQ(LowerClassOf(e.control), e.className) << what;
    }
    const RECT r = PlaceInParent(e.control);
    EXPECT_EQ(r.left, e.left) << what;
    EXPECT_EQ(r.top, e.top) << what;
    EXPECT_EQ(r.right - r.left, e.width) << what;
    EXPECT_EQ(r.bottom - r.top, e.height) << what;
    if (e.text != nullptr) {
      EXPECT_EQ(WindowText(e.control), e.text) << what;
    }
  }
  HWND sheet = c.tabSheet1;
  EXPECT_EQ(GetParent(sheet), c.pageControl1);
  EXPECT_EQ(SendMessageA(c.pageControl1, TCM_GETITEMCOUNT, 0, 0), 2)
      << "全般 and 拡張";
  EXPECT_TRUE(IsWindowVisible(sheet));
  HWND label1 = c.label1;
  EXPECT_EQ(WindowText(label1), "Tessaril ver.1.1.0.0");
  const RECT label = PlaceInParent(label1);
  EXPECT_EQ(label.left, 8);
  EXPECT_EQ(label.top, 14);
  EXPECT_GT(label.right - label.left, 40) << "sized to its text";
  EXPECT_TRUE(IsWindowEnabled(c.edSavePath)) << "SaveLog=1 was loaded";

  SaveScreenshot(dialog, app.ScreenshotPath("SettingsDialog"));

  // The Tab key, starting from the page tab.
  EXPECT_EQ(Focus(dialog), c.pageControl1);
  const HWND order[] = {c.cbSaveLog,  c.edSavePath,  c.cbDateLog,   c.edWavePower, c.edWaveRes,
                        c.cbWavePower, c.cbWaveRes,  c.btnWavePower, c.btnWaveRes, c.btnSavePath,
                        c.edMemLimit, c.button1,     c.pageControl1};
  for (HWND next : order) {
    const HWND before = Focus(dialog);
    Key(before, VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return Focus(dialog) != before; })) << WindowText(next);
    EXPECT_EQ(Focus(dialog), next) << WindowText(next);
  }

  // Enter and Esc neither close nor cancel: there is no default button.
  Key(c.edMemLimit, VK_RETURN);
  Key(c.edMemLimit, VK_ESCAPE);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(IsWindowVisible(dialog));

  // Space on a focused check box toggles it, and its rule follows.
  Key(Focus(dialog), VK_TAB);
  ASSERT_TRUE(WaitFor([&] { return Focus(dialog) == c.cbSaveLog; }));
  Key(c.cbSaveLog, VK_SPACE);
  EXPECT_TRUE(WaitFor([&] { return !Checked(c.cbSaveLog); }));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(c.edSavePath); }));
  EXPECT_FALSE(IsWindowEnabled(c.btnSavePath));
  EXPECT_FALSE(IsWindowEnabled(c.cbDateLog));

  // A second settings command while it is open fails in the error report.
  TrayMenuCommand(app, 'o');
  EXPECT_EQ(AnswerBox(app, "Tessaril"), "表示されているウィンドウをモーダルにすることはできません.");
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_TRUE(WaitFor([&] { return IsChild(dialog, Focus(dialog)) != FALSE; }))
      << "the keyboard is back in the dialog; " << Activation(dialog);

  // Alt+O is the OK button; the ticked sound boxes have no files.
  PostMessageA(c.cbSaveLog, WM_SYSCHAR, 'o', 1 << 29);
  EXPECT_EQ(AnswerBox(app, "エラー"), "電源状態変更時のファイルが存在しません");
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_TRUE(WaitFor([&] { return IsChild(dialog, Focus(dialog)) != FALSE; }))
      << "the keyboard is back in the dialog; " << Activation(dialog);

  // Cleared boxes pass; the close box makes the same request as OK.
  Click(c.cbWavePower);
  Click(c.cbWaveRes);
  EXPECT_TRUE(WaitFor([&] { return !Checked(c.cbWaveRes); }));
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Closed(dialog));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(app.MainWindow()) != FALSE; }));

  // Shown again where the user left it.
  SetWindowPos(dialog, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(OpenSettings(app), dialog);
  GetWindowRect(dialog, &self);
  EXPECT_EQ(self.left, 20);
  EXPECT_EQ(self.top, 30);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Closed(dialog));
}

TEST(SettingsDialog, MissingLogFolderIsRefusedThenTheFixedValuesAreSavedAndApplied) {
  TessarilProcess app;
  ASSERT_TRUE(StartShown(app, std::string("[main]\r\nMemoryLimit=0\r\n")));
  HWND dialog = OpenSettings(app);
  ASSERT_NE(dialog, nullptr);
  const SettingsControls c = FindSettingsControls(dialog);
  Click(c.cbSaveLog);
  ASSERT_TRUE(WaitFor([&] { return Checked(c.cbSaveLog); }));
  EXPECT_TRUE(IsWindowEnabled(c.edSavePath));
  SetText(c.edSavePath, app.FilePath("nofolder\\events.log"));
  SetText(c.edMemLimit, " 0x10");
  Click(c.button1);

  HWND error = app.FindDialog("エラー");
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(MessageBoxText(error), "ログ出力先フォルダが存在しません");
  SaveScreenshot(nullptr, app.ScreenshotPath("SettingsMissingLogFolder"));
  ClickButton(error, IDOK);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(error); }));
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(WindowText(c.edMemLimit), "16") << "normalised all the same";
  EXPECT_EQ(app.ReadFile("Tessaril.ini"), std::string("[main]\r\nMemoryLimit=0\r\n"))
      << "a refused close saves nothing";

  const std::string log = app.FilePath("events.log");
  SetText(c.edSavePath, log);
  Click(c.button1);
  EXPECT_TRUE(Closed(dialog));
  // The command saves once the dialog has gone.
  EXPECT_TRUE(WaitFor([&] { return IniLines(app).size() == 13; }));
  const std::vector<std::string> lines = IniLines(app);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[0], "[main]");
  EXPECT_EQ(lines[1], "MemoryLimit=16");
  EXPECT_EQ(lines[2], "SavePath=" + log);
  EXPECT_EQ(lines[5], "SaveLog=1");

  // Applied: logging is on now.
  app.SendPowerBroadcast(PBT_APMRESUMESUSPEND, 0);
  EXPECT_TRUE(WaitFor([&] { return app.ReadFile("events.log").has_value(); }));
  app.Close();
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}

TEST(SettingsStore, HandWrittenFileIsLoadedShownAndRewrittenWithTwelveKeys) {
  TessarilProcess app;
  SubFolder logs(app, "ログソ");
  const std::string log = logs.path() + "\\表示.log";
  // Shift-JIS, CR LF, keys in another order, some missing, one in hex.
  ASSERT_TRUE(StartShown(app, "[main]\r\nSaveLog=1\r\nSavePath=" + log +
                                 "\r\nMemoryLimit=$10\r\nWaveRes=1\r\nWaveResFile=C:\\ない.wav\r\n"
                                 "Left=40\r\nTop=50\r\nWidth=600\r\nHeight=130\r\n"));
  RECT main = {};
  GetWindowRect(app.MainWindow(), &main);
  EXPECT_EQ(main.left, 40);
  EXPECT_EQ(main.top, 50);
  EXPECT_EQ(main.right - main.left, 600);
  EXPECT_EQ(main.bottom - main.top, 130);
  EXPECT_TRUE(WaitFor([&] { return app.ReadFile("ログソ\\表示.log").has_value(); }))
      << "the start line is logged";
  EXPECT_NE(app.ReadFile("ログソ\\表示.log").value_or("").find("電源状態監視開始 16MB"),
            std::string::npos);

  HWND dialog = OpenSettings(app);
  ASSERT_NE(dialog, nullptr);
  const SettingsControls c = FindSettingsControls(dialog);
  EXPECT_EQ(WindowText(c.edMemLimit), "16");
  EXPECT_EQ(WindowText(c.edSavePath), log);
  EXPECT_EQ(WindowText(c.edWaveRes), "C:\\ない.wav");
  EXPECT_EQ(WindowText(c.edWavePower), "");
  EXPECT_TRUE(Checked(c.cbSaveLog));
  EXPECT_FALSE(Checked(c.cbDateLog));
  EXPECT_FALSE(Checked(c.cbWavePower));
  EXPECT_TRUE(Checked(c.cbWaveRes));
  EXPECT_FALSE(IsWindowEnabled(c.edWavePower));
  EXPECT_TRUE(IsWindowEnabled(c.edWaveRes));
  Click(c.cbWaveRes);  // its file is missing
  ASSERT_TRUE(WaitFor([&] { return !Checked(c.cbWaveRes); }));
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Closed(dialog));

  app.Close();
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  std::vector<std::string> keys;
  for (const std::string& line : IniLines(app)) keys.push_back(line.substr(0, line.find('=')));
  std::sort(keys.begin(), keys.end());
  const std::vector<std::string> twelve = {
      "DateLog", "Height", "Left", "MemoryLimit", "SaveLog", "SavePath", "Top",
      "WavePower", "WavePowerFile", "WaveRes", "WaveResFile", "Width", "[main]"};
  EXPECT_EQ(keys, twelve);
  const std::vector<std::string> lines = IniLines(app);
  for (const char* line : {"MemoryLimit=16", "WaveRes=0", "WavePowerFile=", "Width=600",
                           "Height=130", "Left=40"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
}

TEST(SettingsStore, UnwritableFileKeepsTheWindowOpenAndTheSettingsUnapplied) {
  TessarilProcess app;
  // A folder in the file's place: no write can succeed, not even as an
  // administrator, for whom a read-only file is no obstacle.
  SubFolder ini(app, "Tessaril.ini");
  ASSERT_TRUE(StartShown(app, std::nullopt));
  const std::string message = app.FilePath("Tessaril.ini") + " に書き込めません.";
  for (int attempt = 0; attempt < 2; ++attempt) {
    app.Close();
    EXPECT_EQ(AnswerBox(app, "Tessaril"), message) << attempt;
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(IsWindowVisible(app.MainWindow()));
  }

  // Logging switched on in the dialog does not reach the running settings.
  HWND dialog = OpenSettings(app);
  ASSERT_NE(dialog, nullptr);
  const SettingsControls c = FindSettingsControls(dialog);
  Click(c.cbSaveLog);
  ASSERT_TRUE(WaitFor([&] { return Checked(c.cbSaveLog); }));
  SetText(c.edSavePath, app.FilePath("events.log"));
  Click(c.button1);
  EXPECT_EQ(AnswerBox(app, "Tessaril"), message);
  app.SendPowerBroadcast(PBT_APMRESUMESUSPEND, 0);
  EXPECT_FALSE(app.ReadFile("events.log").has_value());
  app.Kill();
}

TEST(SettingsDialog, ExitWhileItIsOpenSavesItsValuesUnchecked) {
  TessarilProcess app;
  ASSERT_TRUE(StartShown(app, std::string("[main]\r\nMemoryLimit=0\r\n")));
  HWND dialog = OpenSettings(app);
  ASSERT_NE(dialog, nullptr);
  const SettingsControls c = FindSettingsControls(dialog);
  SetText(c.edMemLimit, "150MB");
  Click(c.cbWavePower);  // no sound file: a close request would be refused
  Click(c.cbSaveLog);
  SetText(c.edSavePath, app.FilePath("events.log"));
  ASSERT_TRUE(WaitFor([&] { return Checked(c.cbSaveLog); }));
  TrayMenuCommand(app, 'x');
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  const std::vector<std::string> lines = IniLines(app);
  for (const char* line : {"MemoryLimit=150MB", "WavePower=1", "SaveLog=1"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  // Applied as well: the end line goes by the settings the dialog held.
  EXPECT_NE(app.ReadFile("events.log").value_or("").find(" >> 電源状態監視終了\r\n"),
            std::string::npos);
}

TEST(SettingsStore, BoundsAtTheEndsOfTheRangeStartAndAreSavedLoadable) {
  TessarilProcess app;
  ASSERT_TRUE(StartShown(app, std::string("[main]\r\nMemoryLimit=0\r\nLeft=2147483647\r\n"
                                          "Top=-2147483648\r\nWidth=-2147483648\r\n"
                                          "Height=2147483647\r\n")));
  app.SendPowerBroadcast(PBT_APMRESUMESUSPEND, 0);  // it answers
  app.Close();
  ASSERT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  std::string saved;
  for (const std::string& line : IniLines(app)) saved += line + "\r\n";
  for (const std::string key : {"\nLeft=", "\nTop=", "\nWidth=", "\nHeight="}) {
    ASSERT_NE(saved.find(key), std::string::npos) << key;
    const char* value = saved.c_str() + saved.find(key) + key.size();
    char* end = nullptr;
    const long long number = std::strtoll(value, &end, 10);
    EXPECT_TRUE(end != value && *end == '\r' && number >= INT32_MIN && number <= INT32_MAX) << key;
  }
  TessarilProcess again;
  EXPECT_TRUE(StartShown(again, saved)) << saved;
}

TEST(SettingsDialog, BrowseButtonsOpenTheFileDialogsAndCancelChangesNothing) {
  TessarilProcess app;
  ASSERT_TRUE(StartShown(app, std::string(kAllTicked)));
  HWND dialog = OpenSettings(app);
  ASSERT_NE(dialog, nullptr);
  const SettingsControls c = FindSettingsControls(dialog);
  const std::string logPath = WindowText(c.edSavePath);

  Click(c.btnSavePath);
  HWND save = app.FindDialog("ログファイルの保存先", kStartTimeout);
  if (save == nullptr && app.WaitForExit(kExitTimeout)) {
    // The file dialogs start COM, which may start a thread of its own; on
    // some machines qemu-i386 cannot run that thread's first traps.
    if (const auto crash = app.EmulatorCrash())
      GTEST_SKIP() << "qemu-i386 died under the 32-bit file dialog: " << *crash;
  }
  ASSERT_NE(save, nullptr) << "the save dialog, its DLL loaded on first use";
  ClickButton(save, IDCANCEL);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(save); }));
  EXPECT_EQ(WindowText(c.edSavePath), logPath);

  Click(c.btnWaveRes);
  HWND open = app.FindDialog("音声ファイルを開く", kStartTimeout);
  ASSERT_NE(open, nullptr);
  ClickButton(open, IDCANCEL);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(open); }));
  EXPECT_EQ(WindowText(c.edWaveRes), "");
  PostMessageA(dialog, WM_CLOSE, 0, 0);
}
