#include "platform/win32/win32_profile.h"

#include <vector>

#include "platform/win32/wide.h"

int Win32Profile::GetString(const cc::Str& section, const cc::Str& key, const cc::Str& defaultValue,
                            int bufferChars, const cc::Str& path, cc::Str* value) {
  if (bufferChars < 1) {
    *value = cc::Str(u"");
    return 0;
  }
  std::vector<wchar_t> buffer(static_cast<size_t>(bufferChars), L'\0');
  DWORD length = GetPrivateProfileStringW(Wide(section), Wide(key), Wide(defaultValue), buffer.data(),
                                          static_cast<DWORD>(bufferChars), Wide(path));
  if (length >= static_cast<DWORD>(bufferChars)) length = static_cast<DWORD>(bufferChars - 1);
  *value = cc::Str(reinterpret_cast<const char16_t*>(buffer.data()), static_cast<int>(length));
  return static_cast<int>(length);
}

bool Win32Profile::WriteString(const cc::Str& section, const cc::Str& key, const cc::Str& value,
                               const cc::Str& path) {
  // A null section or key would make the call remove a whole section.
  if (section.IsEmpty() || key.IsEmpty()) return false;
  const wchar_t* text = value.IsNull() ? nullptr : Wide(value);
  return WritePrivateProfileStringW(Wide(section), Wide(key), text, Wide(path)) != FALSE;
}
