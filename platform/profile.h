// INI files as the engines see them: the profile functions of Windows, one
// value at a time. platform/win32 maps both calls onto
// GetPrivateProfileStringW and WritePrivateProfileStringW; platform/fake
// reads and writes INI text in the in-memory file system with the same
// rules.
//
// Rules both keep: section and key names compare without regard to ASCII
// letter case; a value read has the blanks and tabs round it removed and one
// pair of matching quotes (" or ') round it taken away; a file written for
// the first time is created (its folder must exist), in the ANSI code page.
#pragma once

#include "core/str.h"

class Profile {
 public:
  virtual ~Profile() = default;
  // Reads `key` of `section` in the INI file at `path` into `value`, as
  // GetPrivateProfileStringW does with a buffer of `bufferChars` units: at
  // most bufferChars - 1 units are kept. When the file, the section or the
  // key is missing, `defaultValue` (without its trailing blanks) is taken
  // instead. Returns the number of units put into `value`; 0 with an empty
  // `value` when `bufferChars` is below 1.
  virtual int GetString(const cc::Str& section, const cc::Str& key, const cc::Str& defaultValue,
                        int bufferChars, const cc::Str& path, cc::Str* value) = 0;
  // Sets `key` of `section` to `value`, adding the section and the key when
  // they are missing and creating the file when it does not exist; a null
  // `value` removes the key instead. A null or empty `section` or `key` is
  // refused (on Windows a null one would remove a whole section). Returns
  // false when the file cannot be read or written (missing folder,
  // read-only file).
  virtual bool WriteString(const cc::Str& section, const cc::Str& key, const cc::Str& value,
                           const cc::Str& path) = 0;
};
