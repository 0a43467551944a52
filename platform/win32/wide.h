// Passing cc::Str to the W functions and back. Only for platform/win32.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/str.h"

static_assert(sizeof(wchar_t) == 2, "the Win32 seam passes UTF-16 as wchar_t");

// The zero-terminated UTF-16 text of `text` ("" for a null string); lives
// as long as `text` is not changed.
inline const wchar_t* Wide(const cc::Str& text) {
  return reinterpret_cast<const wchar_t*>(text.GetBuffer());
}

// A string from a zero-terminated buffer filled by a W function.
inline cc::Str FromWide(const wchar_t* text) {
  return cc::Str(reinterpret_cast<const char16_t*>(text));
}

inline uint64_t FromFileTime(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

inline FILETIME ToFileTime(uint64_t time) {
  FILETIME result;
  result.dwLowDateTime = static_cast<DWORD>(time & 0xFFFFFFFFu);
  result.dwHighDateTime = static_cast<DWORD>(time >> 32);
  return result;
}
