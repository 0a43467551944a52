// LibraryLoader for tests: a "library" is a file whose bytes equal an image
// registered with AddImage; loading it gives that image's exports. Files go
// through the FakeFileSystem given. Counts what is held and loaded so that a
// test can see nothing is left behind.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/library.h"

class FakeFileSystem;

class FakeLibraryLoader : public LibraryLoader {
 public:
  explicit FakeLibraryLoader(FakeFileSystem* files) : files_(files) {}

  std::unique_ptr<HeldFile> WriteHeld(const cc::Str& path, std::string_view bytes,
                                      cc::Str* reason) override;
  std::unique_ptr<Library> Load(const cc::Str& path, cc::Str* reason) override;

  // Files whose bytes are `bytes` load as a library exporting `exports`.
  void AddImage(const std::string& bytes, std::map<std::string, void*> exports);
  // Makes WriteHeld fail (as a full disk would).
  void SetFailWrite(bool fail) { fail_write_ = fail; }

  // Libraries loaded now, and files held now.
  int LoadedCount() const { return *loaded_; }
  int HeldCount() const { return static_cast<int>(held_->size()); }
  // The paths Load was asked for, and whether each was held at the time.
  struct LoadCall {
    cc::Str path;
    bool held = false;
  };
  const std::vector<LoadCall>& LoadCalls() const { return load_calls_; }

 private:
  FakeFileSystem* files_;
  bool fail_write_ = false;
  std::map<std::string, std::map<std::string, void*>> images_;
  std::shared_ptr<int> loaded_ = std::make_shared<int>(0);
  std::shared_ptr<std::set<std::u16string>> held_ = std::make_shared<std::set<std::u16string>>();
  std::vector<LoadCall> load_calls_;
};
