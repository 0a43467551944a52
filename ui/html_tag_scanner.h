// Finds the tags of the HTML subset of project texts, left to right, without
// a document tree: what lies between two tags is text for the caller.
//
// Recognised: p, br, b, i, u, s and the end tags of the last four; A, DIV,
// SPAN and FONT with their attributes, and their end tags; <center> and
// </center>. Comments, script and style blocks and the RTF comment markers
// are dropped whole (an unterminated one runs to the end of the text); any
// other tag with a ">" is dropped. A "<" that starts no tag is text.
#pragma once

#include <cstddef>
#include <string_view>

namespace cc::win {

enum class HtmlTag {
  kDropped,  // a tag that is not shown, or a dropped block
  kParagraph,
  kLineBreak,
  kBold,
  kBoldEnd,
  kItalic,
  kItalicEnd,
  kUnderline,
  kUnderlineEnd,
  kStrike,
  kStrikeEnd,
  kLinkStart,
  kLinkEnd,
  kDivStart,
  kDivEnd,
  kSpanStart,
  kSpanEnd,
  kFontStart,
  kFontEnd,
  kCenterStart,
  kCenterEnd,
};

struct HtmlTagToken {
  size_t begin = 0;  // the "<"
  size_t end = 0;    // just behind the tag, or behind a dropped block
  HtmlTag tag = HtmlTag::kDropped;
  // For A, DIV, SPAN and FONT: the text between the name and the ">".
  std::string_view attributes;
};

class HtmlTagScanner {
 public:
  // Scans `text` (which must outlive the scanner) from `from` on.
  HtmlTagScanner(std::string_view text, size_t from);

  // Finds the next tag and moves behind it. Returns false when no further
  // tag stands in the text.
  bool Next(HtmlTagToken* token);

 private:
  // Each Read* takes the tag whose name starts at `name` and fills `token`;
  // false when the tag is not theirs.
  bool ReadSimpleTag(size_t name, HtmlTagToken* token);
  bool ReadElement(size_t name, HtmlTagToken* token);
  bool ReadSkippedBlock(size_t name, HtmlTagToken* token);
  // Index of the ">" that ends an opening element `word` at `name`, or npos
  // when the tag is not that element or has no ">".
  size_t OpeningElementEnd(size_t name, std::string_view word, size_t minBytes);
  // Index of the first ">" at or after `from`, or npos.
  size_t FindGt(size_t from);

  std::string_view text_;
  size_t position_;
  // FindGt's last answer: the first ">" at or after gt_origin_.
  size_t gt_origin_ = 0;
  size_t gt_at_ = std::string_view::npos;
  bool gt_known_ = false;
};

}  // namespace cc::win
