#include <gtest/gtest.h>

#include "app/error.h"
#include "settings/form2.h"
#include "tests/fake/fake_controls.h"
#include "tests/fake/fake_platform.h"

// A settings file whose path is past the 259 bytes the profile calls take:
// it is never handed to them, so it loads as missing and refuses saves.
TEST(LongIniPath, PastTheLimitLoadsDefaultsAndRefusesSavesWithoutProfileCalls) {
  struct Case {
    std::size_t iniBytes;
    bool usable;
  };
  for (const Case c : {Case{259, true}, Case{260, false}, Case{300, false}}) {
    SCOPED_TRACE(c.iniBytes);
    FakePlatform fake;
    FakeForm2 dialog;
    const std::string folder = "C:\\" + std::string(c.iniBytes - 16, 'a') + "\\";
    fake.files.moduleFileName = folder + "Tessaril.exe";
    const std::string ini = folder + "Tessaril.ini";
    ASSERT_EQ(ini.size(), c.iniBytes);
    fake.profile.files[ini] = {{"MemoryLimit", "150"}, {"Width", "300"}};

    const WindowGeometry geometry = dialog.form.loadIni(5, 6);
    EXPECT_EQ(dialog.edMemLimit.text, c.usable ? "150" : "200");
    EXPECT_EQ(geometry.Width, c.usable ? 300 : 484);
    EXPECT_EQ(dialog.edSavePath.text, folder + "Tessaril.log");

    std::string failure;
    try {
      dialog.form.saveIni(1, 2, 3, 4);
    } catch (const AppError& error) {
      failure = error.what();
    }
    EXPECT_EQ(failure, c.usable ? "" : ini + " に書き込めません");
    EXPECT_EQ(fake.profile.files[ini].size(), c.usable ? 12u : 2u);
    EXPECT_EQ(fake.profile.flushes, c.usable ? 2 : 0);
  }
}
