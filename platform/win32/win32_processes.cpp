#include "platform/win32/win32_platform.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstring>
#include <memory>

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// Empty when null; INVALID_HANDLE_VALUE is never stored.
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

UniqueHandle Snapshot() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  return UniqueHandle(snapshot == INVALID_HANDLE_VALUE ? nullptr : snapshot);
}

// The bytes of the user SID of a process's token; empty when unreadable.
std::string UserOf(HANDLE process) {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &rawToken)) return std::string();
  const UniqueHandle token(rawToken);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::string buffer(size, '\0');
  std::string sid;
  if (size != 0 && GetTokenInformation(token.get(), TokenUser, &buffer[0], size, &size)) {
    const PSID user = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
    sid.assign(static_cast<const char*>(user), GetLengthSid(user));
  }
  return sid;
}

using GetProcessInformationFn = BOOL(WINAPI*)(HANDLE, PROCESS_INFORMATION_CLASS, LPVOID, DWORD);

// Windows 8 and later; Windows 10 1511 and later answer ProcessAppMemoryInfo.
GetProcessInformationFn ProcessInformationEntry() {
  static const auto entry =
      Entry<GetProcessInformationFn>(GetModuleHandleA("kernel32.dll"), "GetProcessInformation");
  return entry;
}

// The private commit of a process. APP_MEMORY_INFORMATION has 64-bit
// fields in every program, so the 32-bit exe reads a 64-bit process's 9 GB
// in full; the SIZE_T counters of PSAPI would cut it at 4 GB there. The
// PSAPI figure (commit charge, the one Wine fills in) serves where the
// system does not offer the other.
bool PrivateBytesOf(HANDLE process, std::uint64_t& bytes) {
  APP_MEMORY_INFORMATION app = {};
  if (const GetProcessInformationFn query = ProcessInformationEntry()) {
    if (query(process, ProcessAppMemoryInfo, &app, sizeof app) && app.PrivateCommitUsage != 0) {
      bytes = app.PrivateCommitUsage;
      return true;
    }
  }
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return false;
  bytes = counters.PagefileUsage;
  return true;
}

}  // namespace

std::vector<ProcessMemory> Win32ProcessList::Processes() {
  std::vector<ProcessMemory> found;
  const std::string self = UserOf(GetCurrentProcess());
  const UniqueHandle snapshot = Snapshot();
  if (!snapshot) return found;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    // The limited right alone: the user's elevated processes grant it to
    // this one, though not the right to read their memory.
    const UniqueHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    ProcessMemory memory;
    if (!process || !PrivateBytesOf(process.get(), memory.privateBytes)) continue;
    memory.id = entry.th32ProcessID;
    memory.name.assign(entry.szExeFile, strnlen(entry.szExeFile, MAX_PATH));
    memory.sameUser = !self.empty() && UserOf(process.get()) == self;
    found.push_back(memory);
  }
  return found;
}

std::uint32_t Win32ProcessList::CurrentProcessId() { return GetCurrentProcessId(); }
