#include "platform/win32/win32_platform.h"

namespace {

// FILETIME counts 100 ns from 1601-01-01; these count seconds from 1970.
constexpr long long kFileTimePerSecond = 10000000;
constexpr long long kFileTimeOf1970 = 116444736000000000;

LocalTime FromSystemTime(const SYSTEMTIME& st) {
  LocalTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  return t;
}

std::string LocaleText(LCTYPE type) {
  char buffer[16] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) == 0) return std::string();
  return buffer;
}
}  // namespace

LocalTime Win32Clock::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return FromSystemTime(st);
}

UtcSeconds Win32Clock::UtcNow() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  const auto since1601 = static_cast<long long>(
      (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
  return (since1601 - kFileTimeOf1970) / kFileTimePerSecond;
}

LocalTime Win32Clock::LocalAt(UtcSeconds time) {
  const auto since1601 =
      static_cast<unsigned long long>(time * kFileTimePerSecond + kFileTimeOf1970);
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(since1601);
  ft.dwHighDateTime = static_cast<DWORD>(since1601 >> 32);
  SYSTEMTIME utc = {}, local = {};
  FileTimeToSystemTime(&ft, &utc);
  // The active time zone's rule for that date, not today's offset.
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
  return FromSystemTime(local);
}

std::uint64_t Win32Clock::ElapsedMs() { return GetTickCount64(); }

std::string Win32Clock::DateSeparator() { return LocaleText(LOCALE_SDATE); }

std::string Win32Clock::TimeSeparator() { return LocaleText(LOCALE_STIME); }
