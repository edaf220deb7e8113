#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/win32/win32_platform.h"

// The process list against the real system: this process holds a block of
// private memory it has written to, so its entry must show at least that.
TEST(Win32ProcessList, ListsThisProcessWithItsNameUserAndPrivateBytes) {
  constexpr SIZE_T kBlock = 64u << 20;
  void* block = VirtualAlloc(nullptr, kBlock, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_NE(block, nullptr);
  std::memset(block, 1, kBlock);

  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string own = std::strrchr(path, '\\') != nullptr ? std::strrchr(path, '\\') + 1 : path;

  Win32ProcessList list;
  EXPECT_EQ(list.CurrentProcessId(), GetCurrentProcessId());
  const std::vector<ProcessMemory> processes = list.Processes();
  VirtualFree(block, 0, MEM_RELEASE);

  const auto self = std::find_if(processes.begin(), processes.end(), [](const ProcessMemory& p) {
    return p.id == GetCurrentProcessId();
  });
  ASSERT_NE(self, processes.end()) << processes.size() << " processes listed";
  EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, self->name.c_str(), -1, own.c_str(),
                           -1),
            CSTR_EQUAL)
      << self->name << " / " << own;
  EXPECT_TRUE(self->sameUser);
  EXPECT_GE(self->privateBytes, kBlock);
}
