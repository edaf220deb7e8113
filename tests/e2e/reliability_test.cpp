#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/harness.h"

namespace {

constexpr WPARAM kOemEvent = 0x0B;

// Logging on, to Tessaril.log in the program's own folder.
std::string LoggingIni(const TessarilProcess& app) {
  return "[main]\r\nSaveLog=1\r\nSavePath=" + app.FilePath("Tessaril.log") + "\r\n";
}

// The list text of an OEM event: its data in at least four hex digits.
std::string OemText(unsigned data) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%04X", data);
  return std::string("OEMイベント:") + hex;
}

// The message texts of the lines, each "yyyy/mm/dd hh:nn:ss >> text" and
// ended by CR LF; a line of another shape is kept whole, so it fails the
// comparison that follows.
std::vector<std::string> TextsOfLines(const std::string& text) {
  static const std::string separator = " >> ";
  std::vector<std::string> texts;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = text.substr(start, end - start);
    const size_t at = line.find(separator);
    texts.push_back(at == 19 ? line.substr(at + separator.size()) : line);
  }
  if (start != text.size()) texts.push_back("unterminated: " + text.substr(start));
  return texts;
}

// True once the window is destroyed or hidden.
bool WaitUntilGone(HWND window, Timeout timeout = kDialogTimeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(20);
  }
  return true;
}

// Waits until the start sequence has listed its line; false on timeout.
bool WaitForStartLine(const TessarilProcess& app) {
  const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  while (app.MemoText().find("電源状態監視開始 ") == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(20);
  }
  return true;
}

// The whole list as the edit control copies it to the clipboard (select
// all, copy).
std::string CopiedText(const TessarilProcess& app) {
  HWND memo = FindWindowExA(app.MainWindow(), nullptr, "EDIT", nullptr);
  if (memo == nullptr) Fail("the main window has no EDIT control");
  if (!OpenClipboard(nullptr)) Fail("OpenClipboard");
  EmptyClipboard();
  CloseClipboard();
  DWORD_PTR reply = 0;
  SendMessageTimeoutA(memo, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, kReplyTimeout.count(), &reply);
  SendMessageTimeoutA(memo, WM_COPY, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeout.count(), &reply);
  if (!OpenClipboard(nullptr)) Fail("OpenClipboard");
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// A handle of this process on the single-instance mutex: with it open, the
// mutex outlives a killed owner and the next owner gets it abandoned.
class MutexHandle {
 public:
  MutexHandle() : handle_(OpenMutexA(SYNCHRONIZE, FALSE, "TessarilMutex")) {}
  ~MutexHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  MutexHandle(const MutexHandle&) = delete;
  MutexHandle& operator=(const MutexHandle&) = delete;
  bool valid() const { return handle_ != nullptr; }

 private:
  HANDLE handle_;
};

}  // namespace

TEST(Reliability, KilledInstanceLeavesTheWayFreeForTheNextStart) {
  // Without another handle the mutex goes with its killed owner; with one it
  // stays, abandoned, and the next start must take it all the same.
  for (const bool otherHandle : {false, true}) {
    SCOPED_TRACE(otherHandle ? "mutex left abandoned" : "mutex gone");
    std::optional<MutexHandle> held;
    {
      TessarilProcess first;
      first.Start();
      if (otherHandle) {
        held.emplace();
        ASSERT_TRUE(held->valid());
      }
      first.Kill();
      ASSERT_FALSE(first.Running());
    }
    TessarilProcess next;
    next.Start();
    EXPECT_EQ(next.FindDialog("Tessiral", Timeout{500}), nullptr) << "the next start was refused";
    EXPECT_TRUE(WaitForStartLine(next));
    next.Close();
    EXPECT_EQ(next.WaitForExit(), std::optional<DWORD>(0));
  }
}

TEST(Reliability, TwoThousandEventsAllReachTheListAndTheLogInOrder) {
  // Far past the edit control's default limit of about 30,000 characters;
  // parked in the tray, where the program spends its months, and shown.
  constexpr unsigned kEvents = 2000;
  for (const bool parked : {true, false}) {
    SCOPED_TRACE(parked ? "parked" : "shown");
    TessarilProcess app;
    LaunchOptions options;
    options.ini = LoggingIni(app);
    app.Start(options);
    ASSERT_TRUE(WaitForStartLine(app));
    const std::vector<std::string> before = TextsOfLines(app.MemoText());
    ASSERT_EQ(before.size(), 1u) << "the start line";

    if (parked) SendMessageA(app.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_EQ(IsWindowVisible(app.MainWindow()) == FALSE, parked);
    std::vector<std::string> expected = before;
    for (unsigned i = 0; i < kEvents; ++i) {
      app.SendPowerBroadcast(kOemEvent, static_cast<LPARAM>(i));
      expected.push_back(OemText(i));
    }

    // Copied as a user copies it, before anything else reads the list.
    const std::string copied = CopiedText(app);
    const std::string memo = app.MemoText();
    EXPECT_GT(memo.size(), 30000u * 2);
    EXPECT_EQ(TextsOfLines(memo), expected);
    const std::optional<std::string> log = app.ReadFile("Tessaril.log");
    ASSERT_TRUE(log);
    EXPECT_EQ(*log, memo) << "the list and the log differ";
    EXPECT_EQ(copied, memo) << "the copy differs from the list";
    app.Close();
    EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  }
}

TEST(Reliability, LogHeldOpenByAnotherProgramKeepsItsBytesAndTakesTheNextLine) {
  TessarilProcess app;
  LaunchOptions options;
  options.ini = LoggingIni(app);
  app.Start(options);
  ASSERT_TRUE(WaitForStartLine(app));
  // Two lines close together just before the failure: the second may still
  // be on its way to the list when the box opens.
  app.SendPowerBroadcast(kOemEvent, 0xA1);
  app.SendPowerBroadcast(kOemEvent, 0xA2);
  const std::optional<std::string> started = app.ReadFile("Tessaril.log");
  ASSERT_TRUE(started);

  // Another program writes to the log and lets others only read it.
  const std::string path = app.FilePath("Tessaril.log");
  HANDLE other = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  // Posted: the handler shows the error box inside the program's own loop.
  ASSERT_TRUE(PostMessageA(app.MainWindow(), WM_POWERBROADCAST, kOemEvent, 1));
  HWND box = app.FindDialog("Tessaril");
  CloseHandle(other);
  ASSERT_NE(box, nullptr) << "no error report";
  EXPECT_EQ(MessageBoxText(box), "I/O エラー (32)");
  // While the box is open the list holds every logged line, in order, and
  // not the failed one.
  const std::string listed = app.MemoText();
  EXPECT_EQ(listed, *started);
  const std::vector<std::string> texts = TextsOfLines(listed);
  ASSERT_EQ(texts.size(), 3u) << listed;
  EXPECT_EQ(texts[1], OemText(0xA1));
  EXPECT_EQ(texts[2], OemText(0xA2));
  ClickButton(box, IDOK);
  ASSERT_TRUE(WaitUntilGone(box));

  EXPECT_EQ(app.ReadFile("Tessaril.log"), started) << "the log's bytes changed";
  EXPECT_EQ(app.MemoText(), listed) << "a line that was not logged was listed";

  app.SendPowerBroadcast(kOemEvent, 2);
  const std::string line = app.MemoText().substr(listed.size());
  EXPECT_EQ(TextsOfLines(line), std::vector<std::string>{OemText(2)});
  EXPECT_EQ(app.ReadFile("Tessaril.log"), *started + line);
  app.Close();
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
}
