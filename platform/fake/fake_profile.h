// The profile functions over the in-memory file system, for tests: INI text
// is read and written in the files of a FakeFileSystem with the rules of
// platform/profile.h, so that a file the engine writes exists afterwards,
// can be read back byte for byte, and fails where the real call fails (a
// missing folder, a read-only file). Files are ANSI text; one that starts
// with the UTF-16 little-endian mark stays UTF-16.
#pragma once

#include "platform/profile.h"

class FakeFileSystem;

class FakeProfile : public Profile {
 public:
  explicit FakeProfile(FakeFileSystem* files) : files_(files) {}

  int GetString(const cc::Str& section, const cc::Str& key, const cc::Str& defaultValue,
                int bufferChars, const cc::Str& path, cc::Str* value) override;
  bool WriteString(const cc::Str& section, const cc::Str& key, const cc::Str& value,
                   const cc::Str& path) override;

  // How many times GetString was called (to tell a probe from no probe).
  int Reads() const { return reads_; }

 private:
  FakeFileSystem* files_;
  int reads_ = 0;
};
