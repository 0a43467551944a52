// LibraryLoader over CreateFileW and LoadLibraryExW.
#pragma once

#include "platform/library.h"

class Win32LibraryLoader : public LibraryLoader {
 public:
  std::unique_ptr<HeldFile> WriteHeld(const cc::Str& path, std::string_view bytes,
                                      cc::Str* reason) override;
  std::unique_ptr<Library> Load(const cc::Str& path, cc::Str* reason) override;
};
