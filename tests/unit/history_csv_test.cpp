#include <gtest/gtest.h>

#include "app/error.h"
#include "shell/history_csv.h"
#include "tests/fake/fake_platform.h"

// Every field of a line at the ends of its range, in a fixed layout
// whatever the regional separators; a Shift-JIS header; CR LF.
TEST(HistoryCsv, HeaderThenOneLinePerSample) {
  const std::vector<CsvRow> rows = {{{2026, 1, 31, 5, 3, 9}, 0, 0, 3, true},
                                    {{2027, 2, 1, 23, 59, 59}, 4294967295u, 255, 255, false}};
  EXPECT_EQ(HistoryCsv(rows),
            "\x93\xfa\x8e\x9e,空きメモリ (MB),ACアダプタ,バッテリ残量 (%),スリープ\r\n"
            "2026/01/31 05:03:09,0,0,3,1\r\n2027/02/01 23:59:59,4294967295,255,255,0\r\n");
}

// Asleep from the sample taken at the suspend to the one before the resume;
// a sleep not over yet covers everything from its start.
TEST(HistoryCsv, SamplesFromASuspendToItsResumeAreAsleep) {
  FakePlatform fake;
  const UtcSeconds t = fake.clock.UtcNow();
  std::vector<HistorySample> samples;
  for (UtcSeconds s : {t - 60, t, t + 599, t + 600, t + 900, t + 1000})
    samples.push_back({s, 100, 1, 50});
  std::vector<int> asleep;
  for (const CsvRow& row : CsvRowsOf(samples, {{t, t + 600, false}, {t + 900, t + 1000, true}}))
    asleep.push_back(row.asleep);
  EXPECT_EQ(asleep, (std::vector<int>{0, 1, 1, 0, 1, 1}));
}

TEST(HistoryCsv, TheChosenFileIsReplacedAndAFailedWriteIsTheIoError) {
  FakePlatform fake;
  fake.files.AddDirectory("C:\\Apps\\Tessaril");
  History history;
  history.Add({fake.clock.UtcNow() - 60, 1234, 0, 40});
  FileDialogRequest dialog = CsvDialogRequest();
  EXPECT_EQ(dialog.fileName, "C:\\Apps\\Tessaril\\Tessaril_20261207.csv");
  EXPECT_TRUE(dialog.confirmOverwrite);
  EXPECT_FALSE(ExportHistoryCsv(history, dialog)) << "cancelled";

  fake.dialogs.confirmFileDialog = true;
  fake.dialogs.chosenFile = "C:\\Apps\\Tessaril\\day.csv";
  fake.files.files[fake.dialogs.chosenFile].bytes = "an older, longer file";
  ASSERT_TRUE(ExportHistoryCsv(history, dialog));
  EXPECT_EQ(fake.files.files[fake.dialogs.chosenFile].bytes,
            CsvHeader() + "\r\n2026/12/07 05:31:29,1234,0,40,0\r\n");
  EXPECT_EQ(dialog.fileName, fake.dialogs.chosenFile) << "offered again next time";

  fake.files.files[fake.dialogs.chosenFile].readOnly = true;
  try {
    ExportHistoryCsv(history, dialog);
    ADD_FAILURE() << "no error";
  } catch (const AppError& error) {
    EXPECT_EQ(error.IoCode(), 5u);
  }
}
