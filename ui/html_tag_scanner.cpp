#include "ui/html_tag_scanner.h"

#include <iterator>

#include "ui/html_ascii.h"

namespace cc::win {

namespace {

constexpr size_t kNpos = std::string_view::npos;

// Opening simple tags: the name followed by ">", "/" or a blank; closing ones
// are matched whole, ">" included. Tried in this order.
struct SimpleTag {
  std::string_view text;
  bool closing;
  HtmlTag tag;
};
constexpr SimpleTag kSimpleTags[] = {
    {"p", false, HtmlTag::kParagraph},       {"b", false, HtmlTag::kBold},
    {"/b>", true, HtmlTag::kBoldEnd},        {"i", false, HtmlTag::kItalic},
    {"/i>", true, HtmlTag::kItalicEnd},      {"u", false, HtmlTag::kUnderline},
    {"/u>", true, HtmlTag::kUnderlineEnd},   {"s", false, HtmlTag::kStrike},
    {"/s>", true, HtmlTag::kStrikeEnd},      {"BR", false, HtmlTag::kLineBreak},
};

// Elements with attributes: the name, the fewest bytes from the name on
// that can hold the tag, and what it is.
struct Opening {
  std::string_view word;
  size_t min_bytes;
  HtmlTag tag;
};
constexpr Opening kOpenings[] = {{"a", 3, HtmlTag::kLinkStart},
                                 {"div", 5, HtmlTag::kDivStart},
                                 {"span", 5, HtmlTag::kSpanStart},
                                 {"font", 6, HtmlTag::kFontStart}};
struct Closing {
  std::string_view text;
  HtmlTag tag;
};
constexpr Closing kClosings[] = {{"/a>", HtmlTag::kLinkEnd},        {"/div>", HtmlTag::kDivEnd},
                                 {"center>", HtmlTag::kCenterStart}, {"/center>", HtmlTag::kCenterEnd},
                                 {"/span>", HtmlTag::kSpanEnd},     {"/font>", HtmlTag::kFontEnd}};

constexpr std::string_view kRtfCommentStart = "!-- [#~RTF_COMM:S#] -->";
constexpr std::string_view kRtfCommentEnd = "<!-- [#~RTF_COMM:E#] -->";

// Blocks whose whole content is dropped, with the text that ends each.
struct SkippedBlock {
  std::string_view start;
  std::string_view end;
};
constexpr SkippedBlock kSkippedBlocks[] = {
    {kRtfCommentStart, kRtfCommentEnd},
    {"!--", "-->"},
    {"script", "</script>"},
    {"style", "</style>"},
};

}  // namespace

HtmlTagScanner::HtmlTagScanner(std::string_view text, size_t from) : text_(text), position_(from) {}

bool HtmlTagScanner::Next(HtmlTagToken* token) {
  // A "<" as the last byte cannot start a tag; it stays text.
  while (text_.size() >= 2 && position_ < text_.size() - 1) {
    const size_t lt = text_.find('<', position_);
    if (lt == kNpos || lt >= text_.size() - 1) return false;
    const size_t name = lt + 1;
    *token = HtmlTagToken();
    bool found = ReadSimpleTag(name, token) || ReadElement(name, token) || ReadSkippedBlock(name, token);
    if (!found) {
      // Unknown tag: dropped up to its ">". Without one the "<" is text.
      const size_t gt = FindGt(name);
      found = gt != kNpos;
      token->end = gt + 1;
    }
    if (found) {
      token->begin = lt;
      position_ = token->end;
      return true;
    }
    position_ = lt + 1;
  }
  return false;
}

bool HtmlTagScanner::ReadSimpleTag(size_t name, HtmlTagToken* token) {
  for (const SimpleTag& tag : kSimpleTags) {
    if (!StartsWithAt(text_, name, tag.text)) continue;
    size_t next = name + tag.text.size();
    if (!tag.closing) {
      if (next >= text_.size()) continue;
      const char after = text_[next];
      if (after != '>' && after != '/' && after != ' ') continue;
      const size_t gt = FindGt(next);
      if (gt == kNpos) return false;  // unterminated: the "<" stays text
      next = gt + 1;
    }
    token->end = next;
    token->tag = tag.tag;
    return true;
  }
  return false;
}

size_t HtmlTagScanner::OpeningElementEnd(size_t name, std::string_view word, size_t minBytes) {
  if (text_.size() - name < minBytes || !StartsWithAt(text_, name, word)) return kNpos;
  const size_t after = name + word.size();
  if (after >= text_.size() || (text_[after] != '>' && text_[after] != ' ')) return kNpos;
  return FindGt(after);
}

bool HtmlTagScanner::ReadElement(size_t name, HtmlTagToken* token) {
  // The names of openings and closings cannot be confused with each other,
  // so the order between the two tables does not matter.
  for (const Opening& o : kOpenings) {
    const size_t gt = OpeningElementEnd(name, o.word, o.min_bytes);
    if (gt == kNpos) continue;
    const size_t attributes = name + o.word.size();
    token->end = gt + 1;
    token->tag = o.tag;
    token->attributes = text_.substr(attributes, gt - attributes);
    return true;
  }
  for (const Closing& c : kClosings) {
    if (!StartsWithAt(text_, name, c.text)) continue;
    token->end = name + c.text.size();
    token->tag = c.tag;
    return true;
  }
  return false;
}

bool HtmlTagScanner::ReadSkippedBlock(size_t name, HtmlTagToken* token) {
  for (const SkippedBlock& block : kSkippedBlocks) {
    if (!StartsWithAt(text_, name, block.start)) continue;
    // An unterminated block runs to the end of the text, as in a browser.
    const size_t end = FindIgnoreCase(text_, name + block.start.size(), block.end);
    token->end = end == kNpos ? text_.size() : end + block.end.size();
    token->tag = HtmlTag::kDropped;
    return true;
  }
  return false;
}

size_t HtmlTagScanner::FindGt(size_t from) {
  // Remembers the last answer so that a run of unterminated "<" stays
  // linear.
  if (gt_known_ && gt_origin_ <= from && (gt_at_ == kNpos || gt_at_ >= from)) return gt_at_;
  gt_origin_ = from;
  gt_known_ = true;
  gt_at_ = from < text_.size() ? text_.find('>', from) : kNpos;
  return gt_at_;
}

}  // namespace cc::win
