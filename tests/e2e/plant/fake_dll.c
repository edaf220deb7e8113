// A stand-in for a system DLL that someone planted beside a program. When
// loaded it leaves "<its name>.loaded" beside itself, and when one of its
// ANSI functions (the ones the program uses) is called, "<its name>.called".
// It exports the functions of the DLL it imitates, so that a load through
// them succeeds; each fails.
#include <windows.h>

static HINSTANCE self;

static void LeaveMarker(const char* suffix) {
  char marker[MAX_PATH + 16];
  const DWORD length = GetModuleFileNameA(self, marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  lstrcpyA(marker + length, suffix);
  HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    self = instance;
    LeaveMarker(".loaded");
  }
  return TRUE;
}

#ifdef FAKE_WINMM
__declspec(dllexport) BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags) {
  (void)sound, (void)module, (void)flags;
  LeaveMarker(".called");
  return FALSE;
}
#endif

#ifdef FAKE_VERSION
__declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR file, LPDWORD handle) {
  (void)file, (void)handle;
  LeaveMarker(".called");
  return 0;
}
__declspec(dllexport) BOOL WINAPI GetFileVersionInfoA(LPCSTR file, DWORD handle, DWORD size,
                                                      LPVOID data) {
  (void)file, (void)handle, (void)size, (void)data;
  LeaveMarker(".called");
  return FALSE;
}
__declspec(dllexport) BOOL WINAPI VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* value,
                                                 PUINT length) {
  (void)block, (void)subBlock, (void)value, (void)length;
  LeaveMarker(".called");
  return FALSE;
}
// Wine's own user32 imports these, so under Wine a planted version.dll is
// loaded before the program's first line; they must exist for it to start.
__declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR file, LPDWORD handle) {
  (void)file, (void)handle;
  SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
  return 0;
}
__declspec(dllexport) BOOL WINAPI GetFileVersionInfoW(LPCWSTR file, DWORD handle, DWORD size,
                                                      LPVOID data) {
  (void)file, (void)handle, (void)size, (void)data;
  SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
  return FALSE;
}
__declspec(dllexport) BOOL WINAPI VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* value,
                                                 PUINT length) {
  (void)block, (void)subBlock, (void)value, (void)length;
  return FALSE;
}
#endif
