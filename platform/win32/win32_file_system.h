// Files through FindFirstFileW, GetFileAttributesExW, SetFileAttributesW,
// DeleteFileW, CreateDirectoryW, RemoveDirectoryW, CreateFileW, ReadFile,
// WriteFile, FlushFileBuffers, GetFileTime/SetFileTime and CopyFileW.
#pragma once

#include "platform/file_system.h"

class Win32FileSystem : public FileSystem {
 public:
  bool FindFirst(const cc::Str& pattern, FoundFile* found) override;
  bool ListFolder(const cc::Str& folder, std::vector<FoundFile>* entries) override;
  uint32_t GetAttributes(const cc::Str& path) override;
  bool SetAttributes(const cc::Str& path, uint32_t attributes) override;
  bool RemoveFile(const cc::Str& path) override;
  bool CreateFolder(const cc::Str& path) override;
  bool RemoveFolder(const cc::Str& path) override;
  std::unique_ptr<File> Open(const cc::Str& path, OpenMode mode) override;
  bool GetTimes(const cc::Str& path, FileTimes* times) override;
  bool SetTimes(const cc::Str& path, const FileTimes& times) override;
  bool Copy(const cc::Str& source, const cc::Str& target, bool failIfExists) override;
  bool Move(const cc::Str& source, const cc::Str& target, bool replace) override;

 private:
  // Returns `ok`; when false, records the thread's last error about `object`.
  bool Checked(bool ok, const cc::Str& object);
  // True unless `path` is an existing read-only file (then recorded as
  // access denied).
  bool WritableTarget(const cc::Str& path);
};
