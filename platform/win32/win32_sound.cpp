#include "platform/win32/win32_platform.h"

namespace {
using PlaySoundAFn = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);
constexpr DWORD kFileAsync = 0x00020000 /* SND_FILENAME */ | 0x0001 /* SND_ASYNC */;

PlaySoundAFn PlaySoundEntry() {
  static const auto entry = Entry<PlaySoundAFn>(LoadSystemLibrary("winmm.dll"), "PlaySoundA");
  return entry;
}
}  // namespace

void Win32Sound::PlayAsync(const std::string& path) {
  if (PlaySoundAFn play = PlaySoundEntry()) play(path.c_str(), nullptr, kFileAsync);
}
