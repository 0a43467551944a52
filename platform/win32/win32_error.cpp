#include "platform/win32/win32_error.h"

#include "platform/win32/wide.h"

cc::Str Win32ErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  if (length == 0 || buffer == nullptr) return cc::Str(u"");
  DWORD end = length;
  while (end > 0 && (buffer[end - 1] == L'\r' || buffer[end - 1] == L'\n' || buffer[end - 1] == L' ')) --end;
  buffer[end] = L'\0';
  cc::Str text = FromWide(buffer);
  LocalFree(buffer);
  return text;
}
