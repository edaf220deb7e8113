#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/error.h"
#include "monitor/history.h"
#include "shell/history_csv.h"
#include "tests/fake/fake_platform.h"

// The day's figures for a spreadsheet: every field of a line, the ends of
// its ranges, and the file's Shift-JIS header and CR LF.
TEST(HistoryCsv, OneLinePerSampleInAFixedLayout) {
  const struct {
    CsvRow row;
    const char* line;
  } cases[] = {
      {{{2026, 12, 7, 5, 3, 9}, 1536, 1, 85, false}, "2026/12/07 05:03:09,1536,1,85,0"},
      {{{2026, 1, 31, 23, 59, 59}, 0, 0, 3, true}, "2026/01/31 23:59:59,0,0,3,1"},
      // No battery, mains unknown; more memory than 32 bits of bytes hold.
      {{{2027, 2, 1, 0, 0, 0}, 6000, 255, 255, false}, "2027/02/01 00:00:00,6000,255,255,0"},
      {{{2027, 2, 1, 0, 0, 0}, 4294967295u, 1, 100, false},
       "2027/02/01 00:00:00,4294967295,1,100,0"},
  };
  std::vector<CsvRow> rows;
  std::string expected = "日時,空きメモリ (MB),ACアダプタ,バッテリ残量 (%),スリープ\r\n";
  for (const auto& c : cases) {
    EXPECT_EQ(CsvLine(c.row), c.line);
    rows.push_back(c.row);
    expected += std::string(c.line) + "\r\n";
  }
  EXPECT_EQ(HistoryCsv(rows), expected);
  EXPECT_EQ(HistoryCsv({}), CsvHeader() + "\r\n") << "an empty day still has its header";
  EXPECT_EQ(CsvHeader().substr(0, 4), "\x93\xfa\x8e\x9e") << "日時 in Shift-JIS";
}

// A sample taken at the suspend is taken asleep; the one at the resume is
// not; a sleep not yet over covers everything from its start.
TEST(HistoryCsv, SamplesFromASuspendToItsResumeAreAsleep) {
  const LocalSeconds t = SecondsOf({2026, 12, 7, 5, 0, 0});
  std::vector<HistorySample> samples;
  for (LocalSeconds s : {t - 60, t, t + 30, t + 600, t + 900, t + 1000})
    samples.push_back({s, 100, true, 50});
  const std::vector<SleepPeriod> sleeps = {{t, t + 600, false}, {t + 900, t + 1000, true}};
  std::vector<int> asleep;
  for (const CsvRow& row : CsvRowsOf(samples, sleeps)) asleep.push_back(row.asleep);
  EXPECT_EQ(asleep, (std::vector<int>{0, 1, 1, 0, 1, 1}));
  const CsvRow first = CsvRowsOf(samples, {}).front();
  EXPECT_EQ(CsvLine(first), "2026/12/07 04:59:00,100,1,50,0");
}

class HistoryCsvExport : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.files.AddDirectory("C:\\Apps\\Tessaril");
    fake.clock.now = {2026, 12, 7, 5, 32, 29};
    history.Add({SecondsOf(fake.clock.now) - 60, 1234, false, 40});
  }
  FakePlatform fake;
  History history;
};

TEST_F(HistoryCsvExport, TheDialogOffersTheDaysFileBesideTheProgramAndRemembersTheChoice) {
  FileDialogRequest dialog = CsvDialogRequest();
  EXPECT_TRUE(dialog.save);
  EXPECT_TRUE(dialog.confirmOverwrite) << "a chosen file is replaced only once confirmed";
  EXPECT_EQ(dialog.fileName, "C:\\Apps\\Tessaril\\Tessaril_20261207.csv");

  EXPECT_FALSE(ExportHistoryCsv(history, dialog)) << "cancelled";
  EXPECT_TRUE(fake.files.files.empty());

  fake.dialogs.confirmFileDialog = true;
  fake.dialogs.chosenFile = "C:\\Apps\\Tessaril\\day.csv";
  fake.files.files["C:\\Apps\\Tessaril\\day.csv"].bytes = "an older, longer file's bytes";
  ASSERT_TRUE(ExportHistoryCsv(history, dialog));
  EXPECT_EQ(fake.files.files["C:\\Apps\\Tessaril\\day.csv"].bytes,
            CsvHeader() + "\r\n2026/12/07 05:31:29,1234,0,40,0\r\n");
  EXPECT_EQ(dialog.fileName, "C:\\Apps\\Tessaril\\day.csv");
}

TEST_F(HistoryCsvExport, AFailedWriteIsTheGeneralIoError) {
  fake.dialogs.confirmFileDialog = true;
  const struct {
    const char* path;
    std::uint32_t code;
  } cases[] = {{"C:\\ro.csv", 5}, {"C:\\missing\\x.csv", 3}, {"C:\\Apps\\Tessaril\\full.csv", 101}};
  fake.files.AddDirectory("C:");
  fake.files.files["C:\\ro.csv"].readOnly = true;
  for (const auto& c : cases) {
    fake.files.diskSpace = c.code == 101 ? 10 : static_cast<std::size_t>(-1);
    fake.dialogs.chosenFile = c.path;
    FileDialogRequest dialog = CsvDialogRequest();
    try {
      ExportHistoryCsv(history, dialog);
      ADD_FAILURE() << c.path << ": no error";
    } catch (const AppError& error) {
      EXPECT_EQ(error.IoCode(), c.code) << c.path;
      EXPECT_EQ(std::string(error.what()), IoErrorText(c.code)) << c.path;
    }
  }
}
