#pragma once
#include <windows.h>

#include <optional>
#include <string>

// What a program that drives the real exe from outside needs around it: the
// end-to-end tests and the benchmark both run a copy of the exe in a fresh
// folder of its own, inside a job that dies with the driver.

// Throws std::runtime_error with the text and the last Win32 error.
[[noreturn]] void Fail(const std::string& what);

// A Unix path ("/work/...") as Wine's Z: drive path; other paths unchanged.
std::string WindowsPath(const std::string& path);
// The last component of a Windows or Unix path.
std::string BaseName(const std::string& path);

// A new empty folder under %TEMP%, named after the prefix and this process.
std::string NewScratchFolder(const char* prefix);
// Removes the folder and the files in it, read-only ones too.
void RemoveScratchFolder(const std::string& folder);

// A job that kills its processes when its last handle closes: if the driver
// itself is killed (a ctest timeout, an interrupted benchmark), no orphan
// keeps running and holding the single-instance mutex for the next start.
HANDLE NewKillOnCloseJob();

// The text of a window of any process, via WM_GETTEXT. Throws when its
// owner does not answer within five seconds.
std::string WindowText(HWND window);

// The bytes of a file, shared with a writer that holds it open; nothing when
// the file or its folder is missing. Throws on any other failure.
std::optional<std::string> ReadWholeFile(const std::string& path);
// Creates or replaces the file with exactly these bytes. Throws on failure.
void WriteWholeFile(const std::string& path, const std::string& bytes);
