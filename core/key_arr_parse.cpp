// The configuration text parser of cc::KeyArr.
//
// Lines are collected first and stored in one merge at the end: inserting
// each line into the sorted table would move half the table per line. The
// merge gives exactly what storing line by line gives.
#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/key_arr.h"

namespace cc {
namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;

std::u16string_view StripSpaces(std::u16string_view line) {
  const size_t first = line.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  const size_t last = line.find_last_not_of(u' ');
  return line.substr(first, last - first + 1);
}

bool IsComment(std::u16string_view line) {
  return line.empty() || line[0] == u'#' || line[0] == u';' || line[0] == u'/';
}

// "\\" is one backslash, "\n", "\r" and "\t" the control characters; a
// backslash before anything else stays, and so does that character.
Str Unescape(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c != u'\\' || i + 1 == text.size()) {
      out.push_back(c);
      continue;
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
  return Str(std::move(out));
}

// The counters of one parse: counter key -> next number, compared as the
// store compares keys, each keeping the spelling it was first met with.
class Counters {
 public:
  explicit Counters(bool ignoreCase) : ignoreCase_(ignoreCase) {}

  // The number for the next entry under `counterKey`; counts it.
  int Next(std::u16string counterKey) {
    std::u16string lookup = counterKey;
    if (ignoreCase_) {
      for (char16_t& c : lookup) c = FoldAscii(c);
    }
    auto [it, added] = index_.try_emplace(std::move(lookup), counters_.size());
    if (added) counters_.push_back({std::move(counterKey), 0});
    return counters_[it->second].second++;
  }

  // Appends "counter key = count" for every counter.
  template <class Entry>
  void AppendEntries(std::vector<Entry>& out) const {
    for (const auto& [key, count] : counters_) out.push_back(Entry{Str(key), Str::Formatted(u"%d", count)});
  }

 private:
  bool ignoreCase_;
  std::unordered_map<std::u16string, size_t> index_;
  std::vector<std::pair<std::u16string, int>> counters_;
};

}  // namespace

int KeyArr::Parse(const Str& text, bool asUnicode) {
  std::u16string_view all = text.View();
  if (!all.empty() && all[0] == kByteOrderMark) all.remove_prefix(1);

  std::vector<ParsedEntry> parsed;
  Counters counters(ignoreCase_);
  std::u16string prefix;
  std::u16string withoutReturns;
  for (size_t start = 0;;) {
    const size_t newline = all.find(u'\n', start);
    const size_t end = newline == std::u16string_view::npos ? all.size() : newline;
    std::u16string_view line = all.substr(start, end - start);
    if (line.find(u'\r') != std::u16string_view::npos) {
      withoutReturns.assign(line);
      std::erase(withoutReturns, u'\r');
      line = withoutReturns;
    }
    line = StripSpaces(line);
    if (IsComment(line)) {
      // nothing to store
    } else if (line.front() == u'[' && line.back() == u']') {
      if (line.size() > 2) prefix.assign(line.substr(1, line.size() - 2)).push_back(u'.');
    } else if (const size_t equals = line.find(u'='); equals != std::u16string_view::npos && equals > 0) {
      const std::u16string_view name = line.substr(0, equals);
      std::u16string key = prefix;
      if (name.size() >= 2 && name.back() == u'?') {
        key.append(name.substr(0, name.size() - 1));
        const int number = counters.Next(key + u".Count");
        key.append(Str::Formatted(u"%d", number).View());
      } else {
        key.append(name);
      }
      parsed.push_back(ParsedEntry{Str(std::move(key)), Unescape(line.substr(equals + 1))});
    }
    if (newline == std::u16string_view::npos) break;
    start = newline + 1;
  }

  const int stored = static_cast<int>(parsed.size());
  std::vector<ParsedEntry> counterEntries;
  counters.AppendEntries(counterEntries);
  if (!asUnicode && text.GetCodePage() != kCodePageUtf16LE) {
    for (auto* list : {&parsed, &counterEntries}) {
      for (ParsedEntry& entry : *list) {
        entry.key = entry.key.ToCodePage(text.GetCodePage());
        entry.value = entry.value.ToCodePage(text.GetCodePage());
      }
    }
  }
  StoreParsed(parsed);
  StoreParsed(counterEntries);
  if (stored > 0) modified_ = true;
  return stored;
}

// Stores `parsed` (in line order) as if each were Set in turn: sorted by key
// with a stable sort, each run of equal keys becomes one entry with the
// spelling of its first line and the value of its last, then one merge with
// the table (whose existing entries keep their spelling).
void KeyArr::StoreParsed(std::vector<ParsedEntry>& parsed) {
  if (parsed.empty()) return;
  std::vector<int> order(parsed.size());
  std::iota(order.begin(), order.end(), 0);
  const bool ignoreCase = ignoreCase_;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return parsed[a].key.Compare(parsed[b].key, ignoreCase) < 0;
  });
  std::vector<Map<Str, Str>::Entry> runs;
  runs.reserve(parsed.size());
  for (size_t i = 0; i < order.size();) {
    size_t last = i;
    while (last + 1 < order.size() && parsed[order[last + 1]].key.Compare(parsed[order[i]].key, ignoreCase) == 0) {
      ++last;
    }
    runs.push_back({std::move(parsed[order[i]].key), std::move(parsed[order[last]].value)});
    i = last + 1;
  }
  table_.AddAll(std::move(runs));
}

}  // namespace cc
