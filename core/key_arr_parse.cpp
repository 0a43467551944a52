// The configuration text parser of cc::KeyArr.
//
// Storing each line into the sorted table would move half the table per
// line. Instead the keys and values are collected into flat buffers, the
// entries are put in key order with an index sort, and the result goes into
// the table in one merge; this gives exactly what storing line by line
// gives.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numeric>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/key_arr.h"

namespace cc {
namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;

// Strips spaces and carriage returns from both ends: the same as removing
// every "\r" first and then the spaces, without copying the line.
std::u16string_view StripEnds(std::u16string_view line) {
  const size_t first = line.find_first_not_of(u" \r");
  if (first == std::u16string_view::npos) return {};
  const size_t last = line.find_last_not_of(u" \r");
  return line.substr(first, last - first + 1);
}

bool IsComment(std::u16string_view line) {
  return line.empty() || line[0] == u'#' || line[0] == u';' || line[0] == u'/';
}

// Ends a value whose last character is a blank: the line's outer blanks are
// stripped, so a writer that must keep a trailing blank (the uninstall record)
// spells the last one this way. Only at the very end of a value, so that a
// path such as "C:\x20dir" in a hand-written file keeps its meaning.
constexpr std::u16string_view kFinalBlankEscape = u"\\x20";

// Appends `text` unescaped: "\\" is one backslash, "\n", "\r" and "\t" the
// control characters, kFinalBlankEscape at the end a blank; a backslash
// before anything else stays, and so does that character.
void AppendUnescaped(std::u16string& out, std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c != u'\\' || i + 1 == text.size()) {
      out.push_back(c);
      continue;
    }
    if (text.substr(i) == kFinalBlankEscape) {
      out.push_back(u' ');
      return;
    }
    const char16_t next = text[++i];
    switch (next) {
      case u'\\': out.push_back(u'\\'); break;
      case u'n': out.push_back(u'\n'); break;
      case u'r': out.push_back(u'\r'); break;
      case u't': out.push_back(u'\t'); break;
      default:
        out.push_back(u'\\');
        out.push_back(next);
        break;
    }
  }
}

void AppendDecimal(std::u16string& out, int n) {
  char16_t digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + n % 10);
    n /= 10;
  } while (n > 0);
  while (count > 0) out.push_back(digits[--count]);
}

// One parsed entry: where its key and value lie in the batch's buffers.
struct Span {
  uint32_t offset;
  uint32_t length;
};
struct Record {
  Span key;
  Span value;
  bool valueInText;  // a value without escapes is read from the text itself
};

// Everything one parse produces, in line order; the counters are added as
// the last records.
class Batch {
 public:
  Batch(std::u16string_view text, bool ignoreCase) : text_(text), ignoreCase_(ignoreCase) {
    records_.reserve(std::count(text.begin(), text.end(), u'\n') + 1);
  }

  // Starts a record whose key is `prefix` + `name`; returns it so that the
  // caller can append to the key before adding the value.
  std::u16string& BeginKey(std::u16string_view prefix, std::u16string_view name) {
    keyStart_ = keys_.size();
    keys_.append(prefix).append(name);
    return keys_;
  }
  // Ends the record with its value as written.
  void EndEntry(std::u16string_view escapedValue) {
    const std::less_equal<const char16_t*> notAfter;
    const bool inText = notAfter(text_.data(), escapedValue.data()) &&
                        notAfter(escapedValue.data() + escapedValue.size(), text_.data() + text_.size());
    if (inText && escapedValue.find(u'\\') == std::u16string_view::npos) {
      AddRecord(Span{static_cast<uint32_t>(escapedValue.data() - text_.data()),
                     static_cast<uint32_t>(escapedValue.size())},
                true);
      return;
    }
    const size_t valueStart = values_.size();
    AppendUnescaped(values_, escapedValue);
    AddRecord(Span{static_cast<uint32_t>(valueStart), static_cast<uint32_t>(values_.size() - valueStart)}, false);
  }

  // The next number of the counter `counterKey` (compared as the store
  // compares keys, spelled as first met).
  int NextCount(std::u16string_view counterKey) {
    std::u16string lookup(counterKey);
    if (ignoreCase_) {
      for (char16_t& c : lookup) c = FoldAscii(c);
    }
    auto [it, added] = counterIndex_.try_emplace(std::move(lookup), counters_.size());
    if (added) counters_.push_back({std::u16string(counterKey), 0});
    return counters_[it->second].second++;
  }

  // Adds "counter key = count" records after the parsed ones.
  void AddCounters() {
    for (const auto& [key, count] : counters_) {
      BeginKey(key, {});
      const size_t valueStart = values_.size();
      AppendDecimal(values_, count);
      AddRecord(Span{static_cast<uint32_t>(valueStart), static_cast<uint32_t>(values_.size() - valueStart)}, false);
    }
  }

  int Size() const { return static_cast<int>(records_.size()); }

  // The entries in key order, each run of equal keys folded into one entry
  // with the spelling of its first record and the value of its last.
  std::vector<Map<Str, Str>::Entry> SortedEntries(int codePage) const {
    // The keys as compared (folded when ignoring case), each unit stored
    // high byte first so that memcmp orders them as the units' values.
    std::u16string ordered(keys_);
    for (char16_t& c : ordered) {
      const char16_t unit = ignoreCase_ ? FoldAscii(c) : c;
      c = static_cast<char16_t>((unit >> 8) | (unit << 8));
    }
    auto compare = [&](uint32_t a, uint32_t b) {
      const Span x = records_[a].key;
      const Span y = records_[b].key;
      const int c = std::memcmp(ordered.data() + x.offset, ordered.data() + y.offset,
                                2 * static_cast<size_t>(std::min(x.length, y.length)));
      if (c != 0) return c;
      return x.length == y.length ? 0 : (x.length < y.length ? -1 : 1);
    };
    std::vector<uint32_t> order(records_.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
      const int c = compare(a, b);
      return c < 0 || (c == 0 && a < b);
    });
    std::vector<Map<Str, Str>::Entry> entries;
    entries.reserve(order.size());
    for (size_t i = 0; i < order.size();) {
      size_t last = i;
      while (last + 1 < order.size() && compare(order[last + 1], order[i]) == 0) ++last;
      const Record& value = records_[order[last]];
      entries.push_back({MakeStr(keys_, records_[order[i]].key, codePage),
                         MakeStr(value.valueInText ? text_ : std::u16string_view(values_), value.value, codePage)});
      i = last + 1;
    }
    return entries;
  }

 private:
  void AddRecord(Span value, bool inText) {
    records_.push_back(Record{
        Span{static_cast<uint32_t>(keyStart_), static_cast<uint32_t>(keys_.size() - keyStart_)}, value, inText});
  }

  static Str MakeStr(std::u16string_view buffer, Span span, int codePage) {
    Str text(buffer.substr(span.offset, span.length));
    return codePage == kCodePageUtf16LE ? text : text.ToCodePage(codePage);
  }

  std::u16string_view text_;
  bool ignoreCase_;
  std::vector<Record> records_;
  std::u16string keys_;
  std::u16string values_;
  size_t keyStart_ = 0;
  std::unordered_map<std::u16string, size_t> counterIndex_;
  std::vector<std::pair<std::u16string, int>> counters_;
};

// Handles one line (already without "\r" and outer spaces).
void ParseLine(std::u16string_view line, std::u16string& prefix, Batch& batch) {
  if (IsComment(line)) return;
  if (line.front() == u'[' && line.back() == u']') {
    if (line.size() > 2) prefix.assign(line.substr(1, line.size() - 2)).push_back(u'.');
    return;
  }
  const size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos || equals == 0) return;
  const std::u16string_view name = line.substr(0, equals);
  if (name.size() >= 2 && name.back() == u'?') {
    std::u16string& keys = batch.BeginKey(prefix, name.substr(0, name.size() - 1));
    const size_t baseLength = prefix.size() + name.size() - 1;
    std::u16string counterKey(std::u16string_view(keys).substr(keys.size() - baseLength));
    counterKey.append(u".Count");
    AppendDecimal(keys, batch.NextCount(counterKey));
  } else {
    batch.BeginKey(prefix, name);
  }
  batch.EndEntry(line.substr(equals + 1));
}

}  // namespace

int KeyArr::Parse(const Str& text, bool asUnicode) {
  std::u16string_view all = text.View();
  if (!all.empty() && all[0] == kByteOrderMark) all.remove_prefix(1);

  Batch batch(all, ignoreCase_);
  std::u16string prefix;
  std::u16string withoutReturns;
  for (size_t start = 0;;) {
    const size_t newline = all.find(u'\n', start);
    const size_t end = newline == std::u16string_view::npos ? all.size() : newline;
    std::u16string_view line = StripEnds(all.substr(start, end - start));
    if (line.find(u'\r') != std::u16string_view::npos) {
      withoutReturns.assign(line);
      std::erase(withoutReturns, u'\r');
      line = withoutReturns;
    }
    ParseLine(line, prefix, batch);
    if (newline == std::u16string_view::npos) break;
    start = newline + 1;
  }

  const int stored = batch.Size();
  if (stored == 0) return 0;
  // The counters are stored after every line, so they replace an equal key
  // written explicitly.
  batch.AddCounters();
  const int codePage = asUnicode ? kCodePageUtf16LE : text.GetCodePage();
  table_.AddAll(batch.SortedEntries(codePage == kCodePageUtf16BE ? kCodePageUtf16LE : codePage));
  modified_ = true;
  return stored;
}

}  // namespace cc
