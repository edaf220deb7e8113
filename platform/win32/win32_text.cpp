#include "platform/win32/win32_platform.h"

std::string Cp932Text(const wchar_t* text, int length) {
  if (length <= 0) return std::string();
  const int size = WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, text, length, nullptr,
                                       0, "?", nullptr);
  if (size <= 0) return std::string();
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, text, length, &bytes[0], size, "?",
                      nullptr);
  return bytes;
}

std::vector<wchar_t> WideText(const std::string& text) {
  const int size = static_cast<int>(text.size());
  const int wideSize = MultiByteToWideChar(kTextCodePage, 0, text.data(), size, nullptr, 0);
  std::vector<wchar_t> wide(static_cast<size_t>(wideSize) + 1, L'\0');
  MultiByteToWideChar(kTextCodePage, 0, text.data(), size, wide.data(), wideSize);
  return wide;
}
