#include <gtest/gtest.h>

#include "app/single_instance.h"
#include "tests/fake/fake_platform.h"

TEST(TakeSingleInstance, OnlyATimeOutMeansAnotherInstanceRuns) {
  struct Case {
    std::uint32_t waitResult;
    bool runs;
  };
  const Case cases[] = {{0x0, true}, {0x80, true}, {0xFFFFFFFFu, true}, {0x102, false}};
  for (const Case& c : cases) {
    FakePlatform fake;
    fake.windows.mutexResult = c.waitResult;
    EXPECT_EQ(TakeSingleInstance(0x77), c.runs) << c.waitResult;
    EXPECT_EQ(fake.windows.journal.front(), "mutex TessarilMutex");
    EXPECT_EQ(fake.dialogs.boxes.size(), c.runs ? 0u : 1u);
  }
}

TEST(TakeSingleInstance, SecondInstanceSaysSoThenBringsTheFirstForward) {
  FakePlatform fake;
  fake.windows.mutexResult = 0x102;
  fake.windows.found = 0x4242;
  EXPECT_FALSE(TakeSingleInstance(0x77));
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(fake.dialogs.boxes[0].text, "すでに起動されています。");
  EXPECT_EQ(fake.dialogs.boxes[0].caption, "Tessiral");
  EXPECT_EQ(fake.dialogs.boxes[0].owner, 0x77u);
  EXPECT_EQ(fake.dialogs.boxes[0].kind, MessageKind::Plain);
  const Journal expected = {"mutex TessarilMutex", "find TForm1 電源状態監視",
                            "foreground " + std::to_string(0x4242)};
  EXPECT_EQ(fake.windows.journal, expected);

  FakePlatform none;
  none.windows.mutexResult = 0x102;
  EXPECT_FALSE(TakeSingleInstance(0x77));
  EXPECT_EQ(none.windows.journal.back(), "find TForm1 電源状態監視") << "nothing found, nothing more";
}
