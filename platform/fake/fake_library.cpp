#include "platform/fake/fake_library.h"

#include "platform/fake/fake_file_system.h"

namespace {

std::u16string Key(const cc::Str& path) { return std::u16string(path.GetBuffer()); }

class FakeHeldFile : public HeldFile {
 public:
  FakeHeldFile(std::shared_ptr<std::set<std::u16string>> held, std::u16string key)
      : held_(std::move(held)), key_(std::move(key)) {
    held_->insert(key_);
  }
  ~FakeHeldFile() override { held_->erase(key_); }

 private:
  std::shared_ptr<std::set<std::u16string>> held_;
  std::u16string key_;
};

class FakeLibrary : public Library {
 public:
  FakeLibrary(std::shared_ptr<int> loaded, std::map<std::string, void*> exports)
      : loaded_(std::move(loaded)), exports_(std::move(exports)) {
    ++*loaded_;
  }
  ~FakeLibrary() override { --*loaded_; }
  void* Export(const char* name) override {
    auto it = exports_.find(name);
    return it == exports_.end() ? nullptr : it->second;
  }

 private:
  std::shared_ptr<int> loaded_;
  std::map<std::string, void*> exports_;
};

}  // namespace

std::unique_ptr<HeldFile> FakeLibraryLoader::WriteHeld(const cc::Str& path, std::string_view bytes,
                                                       cc::Str* reason) {
  if (files_->Exists(path)) {
    *reason = cc::Str(u"cannot create '") + path + cc::Str(u"': it exists");
    return nullptr;
  }
  if (fail_write_ || !files_->PutFile(path, bytes)) {
    files_->RemoveFile(path);
    *reason = cc::Str(u"cannot write '") + path + cc::Str(u"'");
    return nullptr;
  }
  return std::make_unique<FakeHeldFile>(held_, Key(path));
}

std::unique_ptr<Library> FakeLibraryLoader::Load(const cc::Str& path, cc::Str* reason) {
  load_calls_.push_back({path, held_->count(Key(path)) > 0});
  std::string bytes;
  if (!files_->GetFileBytes(path, &bytes)) {
    *reason = cc::Str(u"cannot load '") + path + cc::Str(u"': file not found");
    return nullptr;
  }
  auto it = images_.find(bytes);
  if (it == images_.end()) {
    *reason = cc::Str(u"cannot load '") + path + cc::Str(u"': not a valid application");
    return nullptr;
  }
  return std::make_unique<FakeLibrary>(loaded_, it->second);
}

void FakeLibraryLoader::AddImage(const std::string& bytes, std::map<std::string, void*> exports) {
  images_[bytes] = std::move(exports);
}
