#include "tools/project.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <system_error>

#include "core/item_fields.h"
#include "core/key_arr.h"
#include "core/str.h"
#include "tools/path_text.h"
#include "tools/utf8_check.h"

namespace pack {
namespace {

namespace fs = std::filesystem;

constexpr char kConfigName[] = "pjcfg.ini";
constexpr char kPayloadFolder[] = "payload";
const char* const kOptionalFiles[] = {"unins.exe", "user.dll"};
constexpr char16_t kNoEntry[] = u"<None>";
constexpr int kComponentItem = 2;
constexpr int kFileItem = 5;
constexpr int kEntryField = 8;
constexpr int64_t kFileTimeEpochOffset = 11644473600;  // seconds from 1601 to 1970
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

struct Stamp {
  int64_t seconds = 0;
  int32_t nanos = 0;
};

// What the packer learns about one source file.
struct SourceFile {
  fs::path path;
  uint64_t size = 0;
  Stamp time;
};

// The fields of a "s.f.N.Item" value that the packer needs.
struct ItemFields {
  int parent = 0;
  int type = 0;
  cc::Str entry;  // field 8: everything after the seventh separator
};

std::string Utf8(const cc::Str& s) { return s.ToUtf8(); }

cc::Str ItemKey(int n, const char16_t* suffix) {
  return cc::Str::Formatted(u"s.f.%d.Item%s", n, suffix);
}

ItemFields SplitItem(const cc::Str& value) {
  const std::vector<cc::Str> fields = cc::SplitItemFields(value, kEntryField - 1);
  return ItemFields{fields[0].ToInt(), fields[1].ToInt(), fields[kEntryField - 1]};
}

Stamp Clamp(Stamp t, const ProjectOptions& options) {
  if (options.source_date_epoch && t.seconds >= *options.source_date_epoch) {
    return Stamp{*options.source_date_epoch, 0};
  }
  return t;
}

Stamp ModificationTime(const fs::path& path, std::error_code* ec) {
  using namespace std::chrono;
  fs::file_time_type t = fs::last_write_time(path, *ec);
  if (*ec) return {};
  nanoseconds since_epoch = duration_cast<nanoseconds>(file_clock::to_sys(t).time_since_epoch());
  seconds whole = floor<seconds>(since_epoch);
  return Stamp{whole.count(), static_cast<int32_t>((since_epoch - whole).count())};
}

// Checks that `path` is a readable regular file within the size limit and
// reads its size and time. `what` names it in the error message.
bool InspectSource(const fs::path& path, const std::string& what, const ProjectOptions& options,
                   SourceFile* source, std::string* error) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) {
    *error = "cannot read " + what + ": " +
             (ec ? ec.message() : std::make_error_code(std::errc::no_such_file_or_directory).message());
    return false;
  }
  if (!fs::is_regular_file(status)) {
    *error = "cannot read " + what + ": not a regular file";
    return false;
  }
  source->path = path;
  source->size = fs::file_size(path, ec);
  if (!ec) source->time = Clamp(ModificationTime(path, &ec), options);
  if (ec) {
    *error = "cannot read " + what + ": " + ec.message();
    return false;
  }
  if (!std::ifstream(path, std::ios::binary)) {
    *error = "cannot read " + what + ": permission denied or unreadable";
    return false;
  }
  if (source->size > options.max_source_bytes) {
    *error = what + " is " + std::to_string(source->size >> 20) + " MiB, above the payload limit of " +
             std::to_string(options.max_source_bytes >> 20) + " MiB";
    return false;
  }
  return true;
}

ZipSource EntryFor(const std::string& name, const SourceFile& source, const std::string& label) {
  ZipSource entry;
  entry.name = name;
  entry.path = source.path;
  entry.unix_time = source.time.seconds;
  entry.label = label;
  return entry;
}

// Entry names taken so far, folded as the runtime's lookup folds them.
class EntryNames {
 public:
  enum Claim { kNew, kSameSource, kConflict };

  // Claims `name` for `who` (a description for messages) reading `path`.
  Claim Take(const std::string& name, const std::string& who, const fs::path& path, std::string* error) {
    std::string folded = Fold(name);
    auto it = taken_.find(folded);
    if (it == taken_.end()) {
      taken_.emplace(folded, Owner{name, who, path});
      return kNew;
    }
    std::error_code ec;
    if (it->second.name == name && !path.empty() && !it->second.path.empty() &&
        fs::equivalent(path, it->second.path, ec)) {
      return kSameSource;
    }
    *error = "two sources for the payload entry '" + name + "': " + it->second.who + " and " + who;
    return kConflict;
  }

 private:
  struct Owner {
    std::string name;
    std::string who;
    fs::path path;
  };

  static std::string Fold(std::string s) {
    for (char& c : s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return s;
  }

  std::map<std::string, Owner> taken_;
};

class ProjectReader {
 public:
  ProjectReader(const fs::path& dir, const ProjectOptions& options) : dir_(dir), options_(options) {}

  bool Read(Project* project, std::string* error) {
    if (!ReadConfig(error) || !CheckShortcutExtensions(error) || !AddFixedFiles(error) ||
        !AddPayloadFolder(error) || !AddFileItems(error)) {
      return false;
    }
    AddComponentSizes();
    project->config = ConfigWithAddedKeys();
    project->added_keys = static_cast<int>(added_.size());
    ZipSource config;
    config.name = kConfigName;
    config.bytes.assign(project->config.begin(), project->config.end());
    config.unix_time = config_time_.seconds;
    config.label = "the project configuration";
    project->entries.clear();
    project->entries.push_back(std::move(config));
    for (ZipSource& e : entries_) project->entries.push_back(std::move(e));
    return true;
  }

 private:
  bool ReadConfig(std::string* error) {
    fs::path path = dir_ / kConfigName;
    SourceFile file;
    if (!InspectSource(path, "the project configuration '" + PathToUtf8(path) + "'", options_, &file, error)) {
      return false;
    }
    config_time_ = file.time;
    std::ifstream in(path, std::ios::binary);
    text_.assign(std::istreambuf_iterator<char>(in), {});
    if (text_.compare(0, 3, kUtf8Bom) == 0) text_.erase(0, 3);
    size_t bad = FindInvalidUtf8(text_);
    if (bad != kValidUtf8) {
      *error = "the project configuration '" + PathToUtf8(path) + "' is not UTF-8: bad byte at " +
               DescribeOffset(text_, bad) + "; save it as UTF-8";
      return false;
    }
    config_.Parse(cc::Str::FromUtf8(text_), true);
    names_.Take(kConfigName, "the project configuration", path, error);
    return true;
  }

  // "[Ret.Shortcut]" "Ext<i>.Count" and "Ext<i>.<k>": the extensions the
  // tasks page offers to associate with shortcut item i. The page reads
  // entries 0 to Count - 1 only, so a count that disagrees with the entries
  // present would offer an empty extension or silently drop one.
  bool CheckShortcutExtensions(std::string* error) {
    struct Offer {
      std::string count_text;  // empty when the count is missing
      std::set<int> entries;
    };
    std::map<int, Offer> offers;
    constexpr std::u16string_view kPrefix = u"Ret.Shortcut.Ext";
    for (int i = 0; i < config_.Count(); ++i) {
      const cc::Str key_text = config_.KeyAt(i);
      const std::u16string_view key = key_text.View();
      if (key.size() <= kPrefix.size() || !cc::Str(key.substr(0, kPrefix.size())).Equals(kPrefix.data(), true)) {
        continue;
      }
      const std::string rest = Utf8(cc::Str(key.substr(kPrefix.size())));
      const std::string name = "[Ret.Shortcut] Ext" + rest;
      const size_t dot = rest.find('.');
      const std::string item = rest.substr(0, dot);
      const std::string sub = dot == std::string::npos ? "" : rest.substr(dot + 1);
      if (!IsCanonicalNumber(item) || (!IsCanonicalNumber(sub) && !cc::Str::FromUtf8(sub).Equals(u"Count", true))) {
        *error = name + " is not a key the setup reads (Ext<item>.Count or Ext<item>.<index>, numbers without leading zeros)";
        return false;
      }
      Offer& offer = offers[std::stoi(item)];
      const std::string value = Utf8(config_.Get(key_text));
      if (!IsCanonicalNumber(sub)) {
        if (!IsCanonicalNumber(value)) {
          *error = name + " is \"" + value + "\", not a number of extensions";
          return false;
        }
        offer.count_text = value;
        continue;
      }
      if (value.size() < 2 || value[0] != '.' || value.find_first_of("\\/ ") != std::string::npos) {
        *error = name + " is \"" + value + "\": an extension is a leading dot and a name, as \".txt\"";
        return false;
      }
      offer.entries.insert(std::stoi(sub));
    }
    for (const auto& [item, offer] : offers) {
      const std::string base = "[Ret.Shortcut] Ext" + std::to_string(item);
      const int count = offer.count_text.empty() ? 0 : std::stoi(offer.count_text);
      for (int k = 0; k < count; ++k) {
        if (offer.entries.count(k) == 0) {
          *error = base + ".Count is " + std::to_string(count) + " but " + base + "." + std::to_string(k) +
                   " is missing";
          return false;
        }
      }
      if (!offer.entries.empty() && *offer.entries.rbegin() >= count) {
        *error = base + "." + std::to_string(*offer.entries.rbegin()) + " lies beyond " + base + ".Count (" +
                 std::to_string(count) + "); the setup would never offer it";
        return false;
      }
    }
    return true;
  }

  // Digits only, no leading zero (except "0" itself), small enough for an int.
  static bool IsCanonicalNumber(const std::string& text) {
    return !text.empty() && text.size() <= 6 && text.find_first_not_of("0123456789") == std::string::npos &&
           (text == "0" || text[0] != '0');
  }

  bool AddFixedFiles(std::string* error) {
    for (const char* name : kOptionalFiles) {
      fs::path path = dir_ / name;
      std::error_code ec;
      if (!fs::exists(fs::symlink_status(path, ec))) continue;
      SourceFile file;
      std::string what = "'" + PathToUtf8(path) + "'";
      if (!InspectSource(path, what, options_, &file, error)) return false;
      names_.Take(name, what, path, error);
      entries_.push_back(EntryFor(name, file, ""));
    }
    return true;
  }

  bool AddPayloadFolder(std::string* error) {
    fs::path root = dir_ / kPayloadFolder;
    std::error_code ec;
    if (!fs::is_directory(root, ec)) return true;
    std::vector<std::pair<std::string, fs::path>> files;
    fs::recursive_directory_iterator it(root, fs::directory_options::follow_directory_symlink, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_directory(ec)) continue;
      std::string name = PathToUtf8(it->path().lexically_relative(root));
      if (FindInvalidUtf8(name) != kValidUtf8) {
        *error = "the payload file name '" + PathToUtf8(it->path()) + "' is not UTF-8; rename the file";
        return false;
      }
      files.emplace_back(name, it->path());
    }
    if (ec) {
      *error = "cannot list '" + PathToUtf8(root) + "': " + ec.message();
      return false;
    }
    std::sort(files.begin(), files.end());
    for (const auto& [name, path] : files) {
      SourceFile file;
      std::string what = "'" + std::string(kPayloadFolder) + "/" + name + "'";
      if (!InspectSource(path, what, options_, &file, error)) return false;
      if (names_.Take(name, what, path, error) == EntryNames::kConflict) return false;
      entries_.push_back(EntryFor(name, file, ""));
    }
    return true;
  }

  bool AddFileItems(std::string* error) {
    int n = 1;
    for (; config_.Has(ItemKey(n, u"")); ++n) {
      ItemFields fields = SplitItem(config_.Get(ItemKey(n, u"")));
      items_.push_back(fields);
      if (fields.type != kFileItem || fields.entry == cc::Str(kNoEntry)) continue;
      if (!AddFileItem(n, fields, error)) return false;
    }
    return CheckNoItemAfterGap(n, error);
  }

  // The runtime walks the items from 1 and stops at the first missing
  // number; an item after that gap would silently never be installed.
  bool CheckNoItemAfterGap(int missing, std::string* error) {
    for (int i = 0; i < config_.Count(); ++i) {
      cc::Str key_text = config_.KeyAt(i);
      std::u16string_view key = key_text.View();
      constexpr std::u16string_view kPrefix = u"s.f.", kSuffix = u".Item";
      if (key.size() <= kPrefix.size() + kSuffix.size() || !cc::Str(key.substr(0, 4)).Equals(u"s.f.", true) ||
          !cc::Str(key.substr(key.size() - kSuffix.size())).Equals(u".Item", true)) {
        continue;
      }
      std::u16string_view number = key.substr(kPrefix.size(), key.size() - kPrefix.size() - kSuffix.size());
      if (number.empty() || number.find_first_not_of(u"0123456789") != std::u16string_view::npos) continue;
      int n = cc::Str(number).ToInt();
      if (n > missing) {
        *error = "s.f." + std::to_string(n) + ".Item follows a gap in the item numbers (no s.f." +
                 std::to_string(missing) + ".Item); the setup would never reach it";
        return false;
      }
    }
    return true;
  }

  bool AddFileItem(int n, const ItemFields& fields, std::string* error) {
    std::string entry = Utf8(fields.entry);
    std::string item = "file item " + std::to_string(n) + " ('" + entry + "')";
    if (entry.empty()) {
      *error = item + " has an empty entry name (field 8); use \"<None>\" for an item without a file";
      return false;
    }
    cc::Str src = config_.Get(ItemKey(n, u".Src"));
    bool not_extracted = config_.GetBool(ItemKey(n, u".I"), false);
    if (src.IsEmpty()) {
      if (not_extracted) return true;  // recorded by the install, never read from the payload
      *error = item + " has no source: set s.f." + std::to_string(n) + ".Item.Src to its file";
      return false;
    }
    std::string src_text = Utf8(src);
    std::replace(src_text.begin(), src_text.end(), '\\', '/');
    fs::path path = PathFromUtf8(src_text);
    if (path.is_relative()) path = dir_ / path;
    SourceFile file;
    if (!InspectSource(path, "source '" + src_text + "' of " + item, options_, &file, error)) return false;
    AddItemKeys(n, file);
    sizes_[n] = file.size;
    if (not_extracted) return true;
    switch (names_.Take(entry, item + " (source '" + src_text + "')", path, error)) {
      case EntryNames::kConflict: return false;
      case EntryNames::kSameSource: return true;
      case EntryNames::kNew: break;
    }
    entries_.push_back(EntryFor(entry, file, item));
    return true;
  }

  void AddItemKeys(int n, const SourceFile& file) {
    if (!config_.Has(ItemKey(n, u".Size"))) {
      added_.push_back(std::to_string(n) + ".Item.Size=" + std::to_string(file.size));
    }
    if (!config_.Has(ItemKey(n, u".Time"))) {
      added_.push_back(std::to_string(n) + ".Item.Time=" + FileTimeText(file.time.seconds, file.time.nanos));
    }
  }

  // A component without a size gets the sum of the files whose nearest
  // component it is (files below a nested component count for that one).
  void AddComponentSizes() {
    std::map<int, uint64_t> totals;
    for (const auto& [n, size] : sizes_) {
      int owner = NearestComponent(n);
      if (owner > 0) totals[owner] += size;
    }
    for (size_t i = 0; i < items_.size(); ++i) {
      int n = static_cast<int>(i) + 1;
      if (items_[i].type != kComponentItem || config_.Has(ItemKey(n, u".Size"))) continue;
      uint64_t total = std::min<uint64_t>(totals[n], INT32_MAX);
      added_.push_back(std::to_string(n) + ".Item.Size=" + std::to_string(total));
    }
  }

  int NearestComponent(int n) const {
    // Items come in pre-order: a parent always has a smaller number.
    for (int p = items_[n - 1].parent; p > 0 && p < n; n = p, p = items_[p - 1].parent) {
      if (items_[p - 1].type == kComponentItem) return p;
    }
    return 0;
  }

  std::string ConfigWithAddedKeys() const {
    if (added_.empty()) return text_;
    std::string newline = text_.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::string out = text_;
    if (!out.empty() && out.back() != '\n') out += newline;
    out += newline + "; Sizes and times of the sources, added by the packer." + newline + "[s.f]" + newline;
    for (const std::string& line : added_) out += line + newline;
    return out;
  }

  fs::path dir_;
  const ProjectOptions& options_;
  std::string text_;
  Stamp config_time_;
  cc::KeyArr config_{false, true};
  EntryNames names_;
  std::vector<ZipSource> entries_;
  std::vector<ItemFields> items_;
  std::map<int, uint64_t> sizes_;
  std::vector<std::string> added_;
};

}  // namespace

std::string FileTimeText(int64_t unix_seconds, int32_t nanoseconds) {
  const uint64_t ticks = static_cast<uint64_t>(unix_seconds + kFileTimeEpochOffset) * 10000000u +
                         static_cast<uint64_t>(nanoseconds / 100);
  // Written into the configuration text, where the tab is spelled as escape.
  return cc::ItemTimeText(ticks, u";\\t").ToUtf8();
}

bool ReadProject(const std::filesystem::path& dir, const ProjectOptions& options, Project* project,
                 std::string* error) {
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) {
    *error = "the project folder '" + PathToUtf8(dir) + "' does not exist";
    return false;
  }
  return ProjectReader(dir, options).Read(project, error);
}

}  // namespace pack
