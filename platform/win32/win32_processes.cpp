#include "platform/win32/win32_platform.h"

#include <psapi.h>
#include <tlhelp32.h>

namespace {

// The bytes of the user SID of a process's token; empty when unreadable.
std::string UserOf(HANDLE process) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return std::string();
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::string buffer(size, '\0');
  std::string sid;
  if (size != 0 && GetTokenInformation(token, TokenUser, &buffer[0], size, &size)) {
    const PSID user = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
    sid.assign(static_cast<const char*>(user), GetLengthSid(user));
  }
  CloseHandle(token);
  return sid;
}

}  // namespace

std::vector<ProcessMemory> Win32ProcessList::Processes() {
  std::vector<ProcessMemory> found;
  const std::string self = UserOf(GetCurrentProcess());
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE,
                                       entry.th32ProcessID);
    if (process == nullptr) continue;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters)) {
      ProcessMemory memory;
      memory.id = entry.th32ProcessID;
      memory.name = entry.szExeFile;
      // The commit charge: the private bytes, which Windows also reports as
      // PrivateUsage; Wine fills in only this one.
      memory.privateBytes = counters.PagefileUsage;
      memory.sameUser = !self.empty() && UserOf(process) == self;
      found.push_back(memory);
    }
    CloseHandle(process);
  }
  CloseHandle(snapshot);
  return found;
}

std::uint32_t Win32ProcessList::CurrentProcessId() { return GetCurrentProcessId(); }
