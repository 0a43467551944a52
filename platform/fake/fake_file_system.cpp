#include "platform/fake/fake_file_system.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/fake/fake_path_root.h"
#include "platform/file_name_case.h"

struct FakeFileSystem::Node {
  std::u16string name;  // spelling at creation (a volume root: "C:")
  bool folder = false;
  bool volume = false;
  uint32_t attributes = 0;
  std::string data;
  FileTimes times;
  std::u16string junction_target;  // key of the target folder; empty when not a junction
};

struct FakeFileSystem::Resolved {
  std::u16string key;         // folded key of the entry
  std::u16string parent_key;  // folded key of the folder holding it (empty for a root)
  std::u16string name;        // the last component as given
  bool trailing_separator = false;
  bool is_root = false;
};

namespace {

constexpr uint64_t kStartClock = 133485408000000000ull;  // 2024-01-01 00:00 UTC
constexpr uint64_t kOneSecond = 10000000ull;
constexpr uint32_t kSettableAttributes = kFileAttributeReadOnly | kFileAttributeHidden |
                                         kFileAttributeSystem | kFileAttributeArchive |
                                         kFileAttributeNormal | 0x100 | 0x1000 | 0x2000;
constexpr char16_t kCurrentDrive[] = u"C:";

bool IsWildcard(char16_t c) { return c == u'*' || c == u'?'; }

bool IsInvalidNameChar(char16_t c) {
  return c < 0x20 || c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|';
}

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// Windows drops trailing dots and blanks of a name ("a.txt. " is "a.txt").
std::u16string TrimName(std::u16string name) {
  if (name == u"." || name == u"..") return name;
  while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.pop_back();
  return name;
}

// The components of `rest` with "." and ".." resolved; false when a name
// holds a character no file name may hold.
bool SplitComponents(const std::u16string& rest, bool allowWildcards,
                     std::vector<std::u16string>* parts) {
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find(u'\\', start);
    if (end == std::u16string::npos) end = rest.size();
    std::u16string part = TrimName(rest.substr(start, end - start));
    bool last = end == rest.size();
    start = end + 1;
    if (part.empty() || part == u".") continue;
    if (part == u"..") {
      if (!parts->empty()) parts->pop_back();
      continue;
    }
    for (char16_t c : part) {
      if (IsInvalidNameChar(c) || (IsWildcard(c) && !(allowWildcards && last))) return false;
    }
    parts->push_back(part);
  }
  return true;
}

bool MatchesPattern(std::u16string_view name, std::u16string_view pattern) {
  if (pattern == u"*.*" || pattern == u"*") return true;
  size_t n = 0, p = 0, star = std::u16string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == u'?' || FoldFileNameChar(pattern[p]) == FoldFileNameChar(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      mark = n;
    } else if (star != std::u16string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

FoundFile Describe(const FakeFileSystem::Node& node);

// Sets `node`'s times; a zero member leaves that time.
void ApplyTimes(FakeFileSystem::Node& node, const FileTimes& times) {
  if (times.creation) node.times.creation = times.creation;
  if (times.last_access) node.times.last_access = times.last_access;
  if (times.last_write) node.times.last_write = times.last_write;
}

// An open fake file: reads and writes the node's bytes in place.
class FakeFile : public File {
 public:
  FakeFile(std::shared_ptr<FakeFileSystem::Node> node, OpenMode mode, FakeFileSystem* owner,
           cc::Str path)
      : node_(std::move(node)),
        writable_(mode != OpenMode::kRead),
        renamable_(mode == OpenMode::kCreateToRename),
        owner_(owner),
        path_(std::move(path)) {}

  int Read(void* buffer, int size) override {
    if (!node_ || size < 0) return -1;
    int64_t left = static_cast<int64_t>(node_->data.size()) - position_;
    int n = static_cast<int>(std::max<int64_t>(0, std::min<int64_t>(left, size)));
    if (n > 0) std::memcpy(buffer, node_->data.data() + position_, n);
    position_ += n;
    return n;
  }

  bool Write(const void* data, int size) override {
    if (!node_ || !writable_ || size < 0) return false;
    size_t end = static_cast<size_t>(position_) + size;
    if (node_->data.size() < end) node_->data.resize(end, '\0');
    std::memcpy(node_->data.data() + position_, data, size);
    position_ += size;
    node_->times.last_write = owner_->Clock();
    owner_->SetClock(owner_->Clock() + kOneSecond);
    return true;
  }

  bool Flush() override { return node_ != nullptr && writable_; }
  int64_t Size() override { return node_ ? static_cast<int64_t>(node_->data.size()) : -1; }

  int64_t Seek(int64_t offset, SeekFrom from) override {
    if (!node_) return -1;
    int64_t base = from == SeekFrom::kBegin ? 0 : from == SeekFrom::kCurrent ? position_ : Size();
    if (base + offset < 0) return -1;
    position_ = base + offset;
    return position_;
  }

  bool Close() override {
    bool was_open = node_ != nullptr;
    node_.reset();
    return was_open;
  }

  bool SetTimes(const FileTimes& times) override {
    if (!node_ || !writable_) return false;
    ApplyTimes(*node_, times);
    return true;
  }

  bool RenameTo(const cc::Str& target) override {
    if (!node_ || !renamable_ || owner_->GetAttributes(target) != kInvalidFileAttributes) return false;
    // The fake moves by copying: the open file follows the bytes.
    const FileTimes times = node_->times;
    if (!owner_->Move(path_, target, false)) return false;
    std::unique_ptr<File> moved = owner_->Open(target, OpenMode::kOpenAlways);
    if (!moved) return false;
    node_ = static_cast<FakeFile*>(moved.get())->node_;
    node_->times = times;
    path_ = target;
    return true;
  }

 private:
  std::shared_ptr<FakeFileSystem::Node> node_;
  bool writable_;
  bool renamable_;
  FakeFileSystem* owner_;
  cc::Str path_;
  int64_t position_ = 0;
};

FoundFile Describe(const FakeFileSystem::Node& node) {
  FoundFile found;
  found.name = cc::Str(node.name);
  found.attributes = node.attributes;
  found.size = node.folder ? 0 : node.data.size();
  found.last_write = node.times.last_write;
  return found;
}

cc::Str ParentPath(const cc::Str& path) {
  std::u16string text(path.View());
  while (!text.empty() && (text.back() == u'\\' || text.back() == u'/')) text.pop_back();
  size_t cut = text.find_last_of(u"\\/");
  if (cut == std::u16string::npos) return cc::Str(u"");
  return cc::Str(text.substr(0, cut + 1));
}

}  // namespace

FakeFileSystem::FakeFileSystem() : clock_(kStartClock) { AddVolume(cc::Str(kCurrentDrive)); }

FakeFileSystem::~FakeFileSystem() = default;

bool FakeFileSystem::Resolve(const cc::Str& path, bool allowWildcards, Resolved* out) const {
  std::u16string text(path.View());
  if (text.empty()) return false;
  std::replace(text.begin(), text.end(), u'/', u'\\');
  std::u16string root, rest;
  if (!SplitVolumeRoot(text, &root, &rest)) return false;
  std::vector<std::u16string> parts;
  if (!SplitComponents(rest, allowWildcards, &parts)) return false;
  std::u16string current = FoldFileName(root);
  if (!Find(current)) return false;
  out->trailing_separator = !rest.empty() && rest.back() == u'\\';
  out->is_root = parts.empty();
  if (parts.empty()) {
    out->key = current;
    out->parent_key.clear();
    out->name.clear();
    return true;
  }
  // Every folder on the way that is a junction leads into its target.
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    std::u16string next = current + u"\\" + FoldFileName(parts[i]);
    std::shared_ptr<Node> node = Find(next);
    current = (node && !node->junction_target.empty()) ? node->junction_target : next;
  }
  out->parent_key = current;
  out->name = parts.back();
  out->key = current + u"\\" + FoldFileName(parts.back());
  return true;
}

std::shared_ptr<FakeFileSystem::Node> FakeFileSystem::Find(const std::u16string& key) const {
  auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : it->second;
}

std::shared_ptr<FakeFileSystem::Node> FakeFileSystem::FindPath(const cc::Str& path,
                                                               bool* trailingSeparator) const {
  Resolved resolved;
  if (!Resolve(path, false, &resolved)) return nullptr;
  if (trailingSeparator) *trailingSeparator = resolved.trailing_separator;
  std::shared_ptr<Node> node = Find(resolved.key);
  // A name followed by a separator names a folder or nothing.
  if (node && resolved.trailing_separator && !node->folder) return nullptr;
  return node;
}

std::shared_ptr<FakeFileSystem::Node> FakeFileSystem::MakeNode(const std::u16string& key,
                                                               const std::u16string& name,
                                                               bool folder) {
  auto node = std::make_shared<Node>();
  node->name = name;
  node->folder = folder;
  node->attributes = folder ? kFileAttributeDirectory : kFileAttributeArchive;
  uint64_t now = Tick();
  node->times = FileTimes{now, now, now};
  nodes_[key] = node;
  return node;
}

bool FakeFileSystem::HasChildren(const std::u16string& key) const {
  std::u16string prefix = key + u"\\";
  auto it = nodes_.lower_bound(prefix);
  return it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

std::vector<std::shared_ptr<FakeFileSystem::Node>> FakeFileSystem::Children(
    const std::u16string& key) const {
  std::vector<std::shared_ptr<Node>> children;
  std::u16string prefix = key + u"\\";
  for (auto it = nodes_.lower_bound(prefix);
       it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
    if (it->first.find(u'\\', prefix.size()) == std::u16string::npos) children.push_back(it->second);
  }
  return children;
}

uint64_t FakeFileSystem::Tick() {
  uint64_t now = clock_;
  clock_ += kOneSecond;
  return now;
}

bool FakeFileSystem::FindFirst(const cc::Str& pattern, FoundFile* found) {
  Resolved resolved;
  if (!Resolve(pattern, true, &resolved) || resolved.trailing_separator || resolved.is_root) {
    return false;
  }
  if (std::none_of(resolved.name.begin(), resolved.name.end(), IsWildcard)) {
    std::shared_ptr<Node> node = Find(resolved.key);
    if (!node) return false;
    *found = Describe(*node);
    return true;
  }
  for (const auto& child : Children(resolved.parent_key)) {
    if (MatchesPattern(child->name, resolved.name)) {
      *found = Describe(*child);
      return true;
    }
  }
  return false;
}

bool FakeFileSystem::ListFolder(const cc::Str& folder, std::vector<FoundFile>* entries) {
  Resolved resolved;
  if (!Resolve(folder, false, &resolved)) return false;
  std::shared_ptr<Node> node = Find(resolved.key);
  if (!node || !node->folder) return false;
  const std::u16string& content =
      node->junction_target.empty() ? resolved.key : node->junction_target;
  entries->clear();
  for (const auto& child : Children(content)) entries->push_back(Describe(*child));
  return true;
}

uint32_t FakeFileSystem::GetAttributes(const cc::Str& path) {
  std::shared_ptr<Node> node = FindPath(path, nullptr);
  return node ? node->attributes : kInvalidFileAttributes;
}

bool FakeFileSystem::SetAttributes(const cc::Str& path, uint32_t attributes) {
  std::shared_ptr<Node> node = FindPath(path, nullptr);
  if (!node) return false;
  uint32_t kept = attributes & kSettableAttributes;
  if (kept & ~kFileAttributeNormal) kept &= ~kFileAttributeNormal;
  if (node->folder) {
    kept = (kept & ~kFileAttributeNormal) | kFileAttributeDirectory |
           (node->attributes & kFileAttributeReparsePoint);
  } else if (kept == 0) {
    kept = kFileAttributeNormal;
  }
  node->attributes = kept;
  return true;
}

bool FakeFileSystem::RemoveFile(const cc::Str& path) {
  Resolved resolved;
  if (!Resolve(path, false, &resolved) || resolved.trailing_separator) return false;
  std::shared_ptr<Node> node = Find(resolved.key);
  if (!node || node->folder || (node->attributes & kFileAttributeReadOnly)) return false;
  nodes_.erase(resolved.key);
  return true;
}

bool FakeFileSystem::CreateFolder(const cc::Str& path) {
  Resolved resolved;
  if (!Resolve(path, false, &resolved) || resolved.is_root || Find(resolved.key)) return false;
  std::shared_ptr<Node> parent = Find(resolved.parent_key);
  if (!parent || !parent->folder) return false;
  MakeNode(resolved.key, resolved.name, true);
  return true;
}

bool FakeFileSystem::RemoveFolder(const cc::Str& path) {
  Resolved resolved;
  if (!Resolve(path, false, &resolved) || resolved.is_root) return false;
  std::shared_ptr<Node> node = Find(resolved.key);
  if (!node || !node->folder) return false;
  if (node->junction_target.empty() && HasChildren(resolved.key)) return false;
  nodes_.erase(resolved.key);
  return true;
}

std::unique_ptr<File> FakeFileSystem::Open(const cc::Str& path, OpenMode mode) {
  Resolved resolved;
  if (!Resolve(path, false, &resolved) || resolved.trailing_separator || resolved.is_root) {
    return nullptr;
  }
  std::shared_ptr<Node> node = Find(resolved.key);
  if (node && node->folder) return nullptr;
  if (mode == OpenMode::kRead) {
    if (!node) return nullptr;
    return std::make_unique<FakeFile>(node, mode, this, path);
  }
  if (node && (node->attributes & kFileAttributeReadOnly)) return nullptr;
  if (!node) {
    std::shared_ptr<Node> parent = Find(resolved.parent_key);
    if (!parent || !parent->folder) return nullptr;
    node = MakeNode(resolved.key, resolved.name, false);
  } else if (mode == OpenMode::kCreate || mode == OpenMode::kCreateToRename) {
    node->data.clear();
    node->attributes = kFileAttributeArchive;
    node->times.last_write = Tick();
  }
  return std::make_unique<FakeFile>(node, mode, this, path);
}

bool FakeFileSystem::GetTimes(const cc::Str& path, FileTimes* times) {
  std::shared_ptr<Node> node = FindPath(path, nullptr);
  if (!node) return false;
  *times = node->times;
  return true;
}

bool FakeFileSystem::SetTimes(const cc::Str& path, const FileTimes& times) {
  std::shared_ptr<Node> node = FindPath(path, nullptr);
  if (!node) return false;
  ApplyTimes(*node, times);
  return true;
}

bool FakeFileSystem::Copy(const cc::Str& source, const cc::Str& target, bool failIfExists) {
  std::shared_ptr<Node> from = FindPath(source, nullptr);
  if (!from || from->folder) return false;
  Resolved to;
  if (!Resolve(target, false, &to) || to.trailing_separator || to.is_root) return false;
  std::shared_ptr<Node> existing = Find(to.key);
  if (existing == from) return false;
  if (existing) {
    if (existing->folder || failIfExists || (existing->attributes & kFileAttributeReadOnly)) {
      return false;
    }
  } else {
    std::shared_ptr<Node> parent = Find(to.parent_key);
    if (!parent || !parent->folder) return false;
    existing = MakeNode(to.key, to.name, false);
  }
  existing->data = from->data;
  existing->attributes = from->attributes;
  existing->times.last_write = from->times.last_write;
  existing->times.last_access = Tick();
  return true;
}

bool FakeFileSystem::Move(const cc::Str& source, const cc::Str& target, bool replace) {
  if (!Copy(source, target, !replace)) return false;
  return RemoveFile(source);
}

bool FakeFileSystem::AddVolume(const cc::Str& root) {
  std::u16string text(root.View());
  std::replace(text.begin(), text.end(), u'/', u'\\');
  bool drive = text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == u':';
  bool share = text.size() >= 2 && text[0] == u'\\' && text[1] == u'\\';
  std::u16string name, rest;
  if (!(drive || share) || !SplitVolumeRoot(text, &name, &rest)) return false;
  if (!rest.empty() && rest != u"\\") return false;
  std::u16string key = FoldFileName(name);
  if (Find(key)) return true;
  std::shared_ptr<Node> node = MakeNode(key, name, true);
  node->volume = true;
  return true;
}

bool FakeFileSystem::PutFolder(const cc::Str& path) {
  uint32_t attributes = GetAttributes(path);
  if (attributes != kInvalidFileAttributes) return (attributes & kFileAttributeDirectory) != 0;
  cc::Str parent = ParentPath(path);
  if (!parent.IsEmpty() && !PutFolder(parent)) return false;
  return CreateFolder(path);
}

bool FakeFileSystem::PutFile(const cc::Str& path, std::string_view bytes, uint32_t attributes) {
  cc::Str parent = ParentPath(path);
  if (!parent.IsEmpty() && !PutFolder(parent)) return false;
  Resolved resolved;
  if (!Resolve(path, false, &resolved) || resolved.trailing_separator || resolved.is_root) {
    return false;
  }
  std::shared_ptr<Node> node = Find(resolved.key);
  if (node && node->folder) return false;
  if (!node) {
    std::shared_ptr<Node> folder = Find(resolved.parent_key);
    if (!folder || !folder->folder) return false;
    node = MakeNode(resolved.key, resolved.name, false);
  } else {
    node->times.last_write = Tick();
  }
  node->data.assign(bytes.data(), bytes.size());
  node->attributes = attributes & ~kFileAttributeDirectory;
  if (node->attributes == 0) node->attributes = kFileAttributeNormal;
  return true;
}

bool FakeFileSystem::PutJunction(const cc::Str& link, const cc::Str& target) {
  Resolved to;
  if (!Resolve(target, false, &to)) return false;
  std::shared_ptr<Node> folder = Find(to.key);
  if (!folder || !folder->folder) return false;
  std::u16string content = folder->junction_target.empty() ? to.key : folder->junction_target;
  Resolved at;
  if (!Resolve(link, false, &at) || at.is_root || Find(at.key)) return false;
  std::shared_ptr<Node> parent = Find(at.parent_key);
  if (!parent || !parent->folder) return false;
  std::shared_ptr<Node> node = MakeNode(at.key, at.name, true);
  node->attributes |= kFileAttributeReparsePoint;
  node->junction_target = content;
  return true;
}

bool FakeFileSystem::GetFileBytes(const cc::Str& path, std::string* bytes) const {
  std::shared_ptr<Node> node = FindPath(path, nullptr);
  if (!node || node->folder) return false;
  *bytes = node->data;
  return true;
}

bool FakeFileSystem::Exists(const cc::Str& path) const { return FindPath(path, nullptr) != nullptr; }

int FakeFileSystem::EntryCount() const {
  return static_cast<int>(std::count_if(nodes_.begin(), nodes_.end(),
                                        [](const auto& entry) { return !entry.second->volume; }));
}
