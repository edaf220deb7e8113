#include "platform/win32/win32_platform.h"

namespace {
std::string LocaleText(LCTYPE type) {
  char buffer[16] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) == 0) return std::string();
  return buffer;
}
}  // namespace

LocalTime Win32Clock::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  LocalTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  return t;
}

std::string Win32Clock::DateSeparator() { return LocaleText(LOCALE_SDATE); }

std::string Win32Clock::TimeSeparator() { return LocaleText(LOCALE_STIME); }
