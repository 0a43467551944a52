#include "wizard/path_lines.h"

#include <string>

namespace wizard {

namespace {

constexpr std::u16string_view kEllipsis = u"...";
constexpr std::u16string_view kElidedFolders = u"...\\";

using Tokens = std::vector<std::u16string>;

// The path's components, each with the separator that ends it.
Tokens SplitAfterSeparators(std::u16string_view path) {
  Tokens tokens;
  size_t start = 0;
  while (start < path.size()) {
    size_t cut = path.find(u'\\', start);
    size_t end = cut == std::u16string_view::npos ? path.size() : cut + 1;
    tokens.emplace_back(path.substr(start, end - start));
    start = end;
  }
  return tokens;
}

// Greedy lines; a token too wide for a line of its own is cut between
// characters (at least one character a line).
std::vector<std::u16string> Wrap(const Tokens& tokens, int width, const MeasureText& measure) {
  std::vector<std::u16string> lines;
  std::u16string line;
  for (const std::u16string& token : tokens) {
    if (measure(line + token) <= width) {
      line += token;
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line.clear();
    for (char16_t c : token) {
      if (!line.empty() && measure(line + c) > width) {
        lines.push_back(line);
        line.clear();
      }
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::vector<cc::Str> ToStrs(const std::vector<std::u16string>& lines) {
  std::vector<cc::Str> result;
  for (const std::u16string& line : lines) result.emplace_back(line);
  return result;
}

// The end of a name too long for the label: the last lines it wraps to,
// the first of them starting with "...".
std::vector<std::u16string> NameEnd(const std::u16string& name, int width, int maxLines,
                                    const MeasureText& measure) {
  std::vector<std::u16string> lines = Wrap({name}, width, measure);
  lines.erase(lines.begin(), lines.end() - maxLines);
  std::u16string first = std::u16string(kEllipsis) + lines.front();
  while (first.size() > kEllipsis.size() + 1 && measure(first) > width) first.erase(kEllipsis.size(), 1);
  lines.front() = first;
  return lines;
}

}  // namespace

std::vector<cc::Str> FitPathLines(const cc::Str& path, int width, int maxLines, const MeasureText& measure) {
  if (maxLines < 1) maxLines = 1;
  Tokens tokens = SplitAfterSeparators(path.View());
  if (tokens.empty()) return {};
  std::vector<std::u16string> lines = Wrap(tokens, width, measure);
  if (static_cast<int>(lines.size()) <= maxLines) return ToStrs(lines);
  // Leave out 1, 2, ... middle folders after the first component.
  for (size_t dropped = 1; tokens.size() > 2 && dropped <= tokens.size() - 2; ++dropped) {
    Tokens shorter = {tokens.front(), std::u16string(kElidedFolders)};
    shorter.insert(shorter.end(), tokens.begin() + 1 + dropped, tokens.end());
    lines = Wrap(shorter, width, measure);
    if (static_cast<int>(lines.size()) <= maxLines) return ToStrs(lines);
  }
  if (tokens.size() > 1) {
    lines = Wrap({std::u16string(kElidedFolders), tokens.back()}, width, measure);
    if (static_cast<int>(lines.size()) <= maxLines) return ToStrs(lines);
  }
  return ToStrs(NameEnd(tokens.back(), width, maxLines, measure));
}

cc::Str JoinLines(const std::vector<cc::Str>& lines) {
  std::u16string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += lines[i].View();
  }
  return cc::Str(text);
}

}  // namespace wizard
