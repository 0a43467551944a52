// An in-memory file system with Windows path rules, for tests: names compare
// without regard to letter case, backslashes and forward slashes both
// separate, "." and ".." are resolved, drive letters and \\server\share
// roots name volumes (C: exists from the start), relative paths start at the
// current folder (C:\). Read-only files refuse deletion and writing, folders
// must be empty to be removed, and every change advances a clock by one
// second so later writes have later times. A junction (a folder reparse
// point) leads into its target folder, as on NTFS.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

class FakeFileSystem : public FileSystem {
 public:
  FakeFileSystem();
  ~FakeFileSystem() override;
  FakeFileSystem(const FakeFileSystem&) = delete;
  FakeFileSystem& operator=(const FakeFileSystem&) = delete;

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

  // Test helpers. Each returns false when the path is malformed, its volume
  // is unknown or a file stands where a folder is needed.
  // Adds a volume root: "D:" or "\\\\server\\share".
  bool AddVolume(const cc::Str& root);
  // Creates or replaces a file, creating its missing parent folders.
  bool PutFile(const cc::Str& path, std::string_view bytes,
               uint32_t attributes = kFileAttributeArchive);
  // Creates a folder and its missing parents.
  bool PutFolder(const cc::Str& path);
  // Creates a junction at `link` (its parent must exist) that leads into the
  // existing folder `target`.
  bool PutJunction(const cc::Str& link, const cc::Str& target);
  // The bytes of a file; false when it does not exist or is a folder.
  bool GetFileBytes(const cc::Str& path, std::string* bytes) const;
  // True when the path names a file or a folder.
  bool Exists(const cc::Str& path) const;
  // How many files and folders exist (volume roots not counted).
  int EntryCount() const;
  // The clock that stamps changes (UTC file time); it advances one second
  // after each change.
  void SetClock(uint64_t fileTime) { clock_ = fileTime; }
  uint64_t Clock() const { return clock_; }

  struct Node;

 private:
  struct Resolved;
  bool Resolve(const cc::Str& path, bool allowWildcards, Resolved* out) const;
  std::shared_ptr<Node> Find(const std::u16string& key) const;
  std::shared_ptr<Node> FindPath(const cc::Str& path, bool* trailingSeparator) const;
  std::shared_ptr<Node> MakeNode(const std::u16string& key, const std::u16string& name,
                                 bool folder);
  bool HasChildren(const std::u16string& key) const;
  std::vector<std::shared_ptr<Node>> Children(const std::u16string& key) const;
  uint64_t Tick();

  // folded full path ("c:\\dir\\file.txt") -> node; a volume root is "c:".
  std::map<std::u16string, std::shared_ptr<Node>> nodes_;
  uint64_t clock_;
};
