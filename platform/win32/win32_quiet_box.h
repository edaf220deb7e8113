#pragma once
#include <windows.h>

#include <string>

// A message box of the program's own: caption, the system's icon, the text
// word-wrapped in a label with the id a system box gives it (0xFFFF), and one
// OK button that is both default and cancel, centred on the screen. Unlike
// MessageBoxA it plays no system sound, which would cut off a sound the
// program has just started. Modal to `owner` (may be null); returns when it
// is dismissed.
void ShowQuietBox(HWND owner, const std::string& text, const std::string& caption, LPCSTR icon);
