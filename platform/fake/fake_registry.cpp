#include "platform/fake/fake_registry.h"

namespace {

std::u16string Fold(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = cc::FoldAscii(c);
  return folded;
}

// Drops leading and trailing backslashes and collapses doubled ones.
std::u16string CleanPath(std::u16string_view path) {
  std::u16string clean;
  for (char16_t c : path) {
    if (c == u'\\' && (clean.empty() || clean.back() == u'\\')) continue;
    clean.push_back(c);
  }
  while (!clean.empty() && clean.back() == u'\\') clean.pop_back();
  return clean;
}

bool StartsWithFolded(const std::u16string& text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && Fold(text.substr(0, prefix.size())) == prefix;
}

class FakeKey : public RegistryKey {
 public:
  FakeKey(std::map<std::u16string, FakeRegistry::Key>* keys, std::u16string folded, bool writable)
      : keys_(keys), folded_(std::move(folded)), writable_(writable) {}

  bool QueryValue(const cc::Str& name, RegValue* value) override {
    FakeRegistry::Key* key = Self();
    if (!key) return false;
    auto it = key->values.find(Fold(name.View()));
    if (it == key->values.end()) return false;
    *value = it->second.second;
    return true;
  }

  bool SetValue(const cc::Str& name, uint32_t type, std::string_view data) override {
    FakeRegistry::Key* key = Self();
    if (!key || !writable_) return false;
    auto& slot = key->values[Fold(name.View())];
    if (slot.first.empty()) slot.first = std::u16string(name.View());
    slot.second.type = type;
    slot.second.data = std::string(data);
    return true;
  }

  bool DeleteValue(const cc::Str& name) override {
    FakeRegistry::Key* key = Self();
    if (!key || !writable_) return false;
    return key->values.erase(Fold(name.View())) > 0;
  }

 private:
  FakeRegistry::Key* Self() {
    auto it = keys_->find(folded_);
    return it == keys_->end() ? nullptr : &it->second;
  }

  std::map<std::u16string, FakeRegistry::Key>* keys_;
  std::u16string folded_;
  bool writable_;
};

}  // namespace

FakeRegistry::FakeRegistry() {
  // The roots always exist.
  for (char16_t root = u'0'; root <= u'3'; ++root) keys_[std::u16string(1, root)].name = std::u16string(1, root);
}

FakeRegistry::~FakeRegistry() = default;

std::u16string FakeRegistry::Resolve(RegRoot root, const cc::Str& path, RegView view) const {
  std::u16string clean = CleanPath(path.View());
  if (root == RegRoot::kLocalMachine && redirect32_ && view != RegView::k64) {
    static constexpr std::u16string_view kSoftware = u"software";
    bool isSoftware = StartsWithFolded(clean, kSoftware) &&
                      (clean.size() == kSoftware.size() || clean[kSoftware.size()] == u'\\');
    bool alreadyRedirected = StartsWithFolded(clean, u"software\\wow6432node");
    if (isSoftware && !alreadyRedirected) clean.insert(kSoftware.size(), u"\\Wow6432Node");
  }
  std::u16string resolved(1, static_cast<char16_t>(u'0' + static_cast<int>(root)));
  if (!clean.empty()) resolved += u"\\" + clean;
  return resolved;
}

FakeRegistry::Key* FakeRegistry::Find(const std::u16string& folded) {
  auto it = keys_.find(folded);
  return it == keys_.end() ? nullptr : &it->second;
}

const FakeRegistry::Key* FakeRegistry::Find(const std::u16string& folded) const {
  auto it = keys_.find(folded);
  return it == keys_.end() ? nullptr : &it->second;
}

FakeRegistry::Key* FakeRegistry::Create(const std::u16string& resolved) {
  Key* key = nullptr;
  size_t end = 0;
  while (end != std::u16string::npos) {
    end = resolved.find(u'\\', end + 1);
    std::u16string prefix = resolved.substr(0, end);
    Key& slot = keys_[Fold(prefix)];
    if (slot.name.empty()) slot.name = prefix.substr(prefix.rfind(u'\\') + 1);
    key = &slot;
  }
  return key;
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenKey(RegRoot root, const cc::Str& path,
                                                   RegAccess access, RegView view) {
  std::u16string folded = Fold(Resolve(root, path, view));
  if (!Find(folded)) return nullptr;
  return std::make_unique<FakeKey>(&keys_, folded, access == RegAccess::kAll);
}

std::unique_ptr<RegistryKey> FakeRegistry::CreateKey(RegRoot root, const cc::Str& path,
                                                     RegView view) {
  std::u16string resolved = Resolve(root, path, view);
  Create(resolved);
  return std::make_unique<FakeKey>(&keys_, Fold(resolved), true);
}

bool FakeRegistry::DeleteKey(RegRoot root, const cc::Str& path, RegView view) {
  if (CleanPath(path.View()).empty()) return false;
  std::u16string folded = Fold(Resolve(root, path, view));
  auto it = keys_.find(folded);
  if (it == keys_.end()) return false;
  std::u16string childPrefix = folded + u"\\";
  auto child = keys_.lower_bound(childPrefix);
  if (child != keys_.end() && child->first.compare(0, childPrefix.size(), childPrefix) == 0) {
    return false;  // has subkeys
  }
  keys_.erase(it);
  return true;
}

bool FakeRegistry::HasKey(RegRoot root, const cc::Str& path, RegView view) const {
  return Find(Fold(Resolve(root, path, view))) != nullptr;
}

void FakeRegistry::PutString(RegRoot root, const cc::Str& path, const cc::Str& name,
                             const cc::Str& text, RegView view) {
  CreateKey(root, path, view)->SetValue(name, kRegSz, RegStringData(text));
}

void FakeRegistry::PutDword(RegRoot root, const cc::Str& path, const cc::Str& name,
                            uint32_t value, RegView view) {
  CreateKey(root, path, view)->SetValue(name, kRegDword, RegDwordData(value));
}

bool FakeRegistry::GetValue(RegRoot root, const cc::Str& path, const cc::Str& name,
                            RegValue* value, RegView view) const {
  const Key* key = Find(Fold(Resolve(root, path, view)));
  if (!key) return false;
  auto it = key->values.find(Fold(name.View()));
  if (it == key->values.end()) return false;
  *value = it->second.second;
  return true;
}
