// INI files through GetPrivateProfileStringW and WritePrivateProfileStringW.
#pragma once

#include "platform/profile.h"

class Win32Profile : public Profile {
 public:
  int GetString(const cc::Str& section, const cc::Str& key, const cc::Str& defaultValue,
                int bufferChars, const cc::Str& path, cc::Str* value) override;
  bool WriteString(const cc::Str& section, const cc::Str& key, const cc::Str& value,
                   const cc::Str& path) override;
};
