#include "platform/fake/fake_profile.h"

#include <string>
#include <vector>

#include "platform/fake/fake_file_system.h"
#include "platform/file_helpers.h"

namespace {

using Lines = std::vector<std::u16string>;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string Trim(std::u16string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::u16string(text.substr(begin, end - begin));
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  return cc::Str(a).Equals(cc::Str(b), true);
}

Lines SplitLines(std::u16string_view text) {
  Lines lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// The section name of a "[name]" line; false for any other line.
bool SectionOf(const std::u16string& line, std::u16string* name) {
  std::u16string trimmed = Trim(line);
  if (trimmed.size() < 2 || trimmed.front() != u'[') return false;
  size_t close = trimmed.find(u']');
  if (close == std::u16string::npos) return false;
  *name = Trim(std::u16string_view(trimmed).substr(1, close - 1));
  return true;
}

// The key of a "key=value" line, with the value after the "=".
bool EntryOf(const std::u16string& line, std::u16string* key, std::u16string* value) {
  size_t equals = line.find(u'=');
  if (equals == std::u16string::npos) return false;
  *key = Trim(std::u16string_view(line).substr(0, equals));
  if (value) *value = std::u16string(line.substr(equals + 1));
  return true;
}

// [first, end) of the lines that belong to `section` (after its header);
// false when the file has no such section.
bool FindSection(const Lines& lines, std::u16string_view section, size_t* first, size_t* end) {
  std::u16string name;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!SectionOf(lines[i], &name) || !SameName(name, section)) continue;
    size_t j = i + 1;
    while (j < lines.size() && !SectionOf(lines[j], &name)) ++j;
    *first = i + 1;
    *end = j;
    return true;
  }
  return false;
}

// The line of `key` within [first, end), or `end` when it is missing.
size_t FindKey(const Lines& lines, size_t first, size_t end, std::u16string_view key) {
  std::u16string name;
  for (size_t i = first; i < end; ++i) {
    if (EntryOf(lines[i], &name, nullptr) && SameName(name, key)) return i;
  }
  return end;
}

// A value as the profile functions hand it out: blanks round it removed and
// one pair of matching quotes taken away.
std::u16string ReadableValue(std::u16string_view raw) {
  std::u16string value = Trim(raw);
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

struct IniFile {
  bool exists = false;
  bool utf16 = false;
  Lines lines;
};

bool Load(FakeFileSystem& files, const cc::Str& path, IniFile* file) {
  if (!FileExists(files, path)) return true;
  std::string bytes;
  if (!files.GetFileBytes(path, &bytes)) return false;
  cc::Str text = DecodeText(bytes, cc::kCodePageAnsi);
  file->exists = true;
  file->utf16 = text.GetCodePage() == cc::kCodePageUtf16LE && bytes.size() >= 2 &&
                bytes.compare(0, 2, "\xFF\xFE") == 0;
  file->lines = SplitLines(text.View());
  return true;
}

bool Store(FakeFileSystem& files, const cc::Str& path, const IniFile& file) {
  std::u16string text;
  for (const std::u16string& line : file.lines) text += line + u"\r\n";
  int codePage = file.utf16 ? cc::kCodePageUtf16LE : cc::kCodePageAnsi;
  return WriteFileBytes(files, path, cc::Str(text).ToBytes(codePage), codePage, false, file.utf16);
}

void SetEntry(IniFile& file, std::u16string_view section, std::u16string_view key,
              const cc::Str& value) {
  size_t first = 0;
  size_t end = 0;
  if (!FindSection(file.lines, section, &first, &end)) {
    if (value.IsNull()) return;
    file.lines.push_back(u"[" + std::u16string(section) + u"]");
    file.lines.push_back(std::u16string(key) + u"=" + std::u16string(value.View()));
    return;
  }
  size_t at = FindKey(file.lines, first, end, key);
  if (value.IsNull()) {
    if (at != end) file.lines.erase(file.lines.begin() + static_cast<std::ptrdiff_t>(at));
    return;
  }
  std::u16string line = std::u16string(key) + u"=" + std::u16string(value.View());
  if (at != end) {
    file.lines[at] = line;
    return;
  }
  // A new key goes after the section's last non-blank line.
  size_t insert = end;
  while (insert > first && Trim(file.lines[insert - 1]).empty()) --insert;
  file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(insert), line);
}

int Deliver(std::u16string text, int bufferChars, cc::Str* value) {
  if (bufferChars < 1) {
    *value = cc::Str(u"");
    return 0;
  }
  if (text.size() > static_cast<size_t>(bufferChars - 1)) text.resize(static_cast<size_t>(bufferChars - 1));
  *value = cc::Str(text);
  return static_cast<int>(text.size());
}

}  // namespace

int FakeProfile::GetString(const cc::Str& section, const cc::Str& key, const cc::Str& defaultValue,
                           int bufferChars, const cc::Str& path, cc::Str* value) {
  ++reads_;
  IniFile file;
  size_t first = 0;
  size_t end = 0;
  if (Load(*files_, path, &file) && FindSection(file.lines, section.View(), &first, &end)) {
    size_t at = FindKey(file.lines, first, end, key.View());
    std::u16string name;
    std::u16string raw;
    if (at != end && EntryOf(file.lines[at], &name, &raw)) {
      return Deliver(ReadableValue(raw), bufferChars, value);
    }
  }
  std::u16string fallback(defaultValue.View());
  while (!fallback.empty() && fallback.back() == u' ') fallback.pop_back();
  return Deliver(fallback, bufferChars, value);
}

bool FakeProfile::WriteString(const cc::Str& section, const cc::Str& key, const cc::Str& value,
                              const cc::Str& path) {
  if (section.IsEmpty() || key.IsEmpty()) return false;
  IniFile file;
  if (!Load(*files_, path, &file)) return false;
  if (!file.exists && value.IsNull()) return true;
  // The file is rewritten in place: a read-only one refuses the change.
  if (file.exists && (files_->GetAttributes(path) & kFileAttributeReadOnly)) return false;
  SetEntry(file, section.View(), key.View(), value);
  return Store(*files_, path, file);
}
