#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <cstring>
#include <memory>
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

// A process that grants this one PROCESS_QUERY_LIMITED_INFORMATION alone,
// as the user's elevated programs do, is listed: a suspended copy of the
// test exe. 64-bit only: under qemu-i386 the 32-bit exe cannot start a
// 32-bit child, and trying (or skipping, whose debug output raises an
// exception there) kills it.
#ifdef _WIN64
TEST(Win32ProcessList, ListsAProcessThatGrantsOnlyTheLimitedQuery) {
  const auto free = [](void* p) { LocalFree(p); };
  const auto close = [](HANDLE h) { CloseHandle(h); };
  PSECURITY_DESCRIPTOR raw = nullptr;  // the limited query and synchronize, to everyone
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;0x101000;;;WD)",
                                                                   SDDL_REVISION_1, &raw, nullptr));
  const std::unique_ptr<void, decltype(free)> descriptor(raw, free);
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, raw, FALSE};
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child = {};
  ASSERT_TRUE(CreateProcessA(path, nullptr, &attributes, nullptr, FALSE, CREATE_SUSPENDED,
                             nullptr, nullptr, &startup, &child));
  const std::unique_ptr<void, decltype(close)> process(child.hProcess, close),
      thread(child.hThread, close),
      probe(OpenProcess(PROCESS_VM_READ, FALSE, child.dwProcessId), close);
  ASSERT_EQ(probe, nullptr) << "the child's DACL is not enforced here";
  const std::vector<ProcessMemory> processes = Win32ProcessList().Processes();
  TerminateProcess(child.hProcess, 0);
  const auto listed = std::find_if(processes.begin(), processes.end(),
                                   [&](const ProcessMemory& p) { return p.id == child.dwProcessId; });
  ASSERT_NE(listed, processes.end());
  EXPECT_TRUE(listed->sameUser);
}
#endif
