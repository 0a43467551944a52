#include "ui/html_tag_scanner.h"

#include <gtest/gtest.h>

#include <string>

namespace cc::win {
namespace {

// The tags of `text` as "begin-end:tag[attributes]" lines, tag by number.
std::string Scan(std::string_view text, size_t from = 0) {
  HtmlTagScanner scanner(text, from);
  HtmlTagToken token;
  std::string found;
  while (scanner.Next(&token)) {
    found += std::to_string(token.begin) + "-" + std::to_string(token.end) + ":" +
             std::to_string(static_cast<int>(token.tag));
    if (!token.attributes.empty()) found += "[" + std::string(token.attributes) + "]";
    found += " ";
  }
  return found;
}

std::string Tag(size_t begin, size_t end, HtmlTag tag, std::string attributes = "") {
  std::string line = std::to_string(begin) + "-" + std::to_string(end) + ":" +
                     std::to_string(static_cast<int>(tag));
  if (!attributes.empty()) line += "[" + attributes + "]";
  return line + " ";
}

TEST(HtmlTagScannerTest, FindsTagsWhereTheyStandAndLeavesTextAlone) {
  struct Case {
    const char* what;
    std::string_view text;
    std::string tags;
  };
  const Case cases[] = {
      {"plain text", "no tags here", ""},
      {"simple tags in any case", "a<B>b</b>", Tag(1, 4, HtmlTag::kBold) + Tag(5, 9, HtmlTag::kBoldEnd)},
      {"p with attributes ends at its >", "<p class=x>", Tag(0, 11, HtmlTag::kParagraph)},
      {"self-closing line break", "<br/>", Tag(0, 5, HtmlTag::kLineBreak)},
      {"a name inside a longer one is another tag", "<bx>", Tag(0, 4, HtmlTag::kDropped)},
      {"element with attributes", "<font size=3 color=#ff0000>",
       Tag(0, 27, HtmlTag::kFontStart, " size=3 color=#ff0000")},
      {"element without attributes", "<div>x", Tag(0, 5, HtmlTag::kDivStart)},
      {"end tags of elements", "</a></span></font></div>",
       Tag(0, 4, HtmlTag::kLinkEnd) + Tag(4, 11, HtmlTag::kSpanEnd) + Tag(11, 18, HtmlTag::kFontEnd) +
           Tag(18, 24, HtmlTag::kDivEnd)},
      {"center", "<center>x</center>", Tag(0, 8, HtmlTag::kCenterStart) + Tag(9, 18, HtmlTag::kCenterEnd)},
      {"comment dropped whole", "<!-- <b> -->x", Tag(0, 12, HtmlTag::kDropped)},
      {"script dropped up to its end in any case", "<script>if(a<b)</SCRIPT>x",
       Tag(0, 24, HtmlTag::kDropped)},
      {"unterminated block runs to the end", "<style>p{}", Tag(0, 10, HtmlTag::kDropped)},
      {"a < without > is text", "a < b", ""},
      {"unterminated simple tag is text", "<b and more", ""},
      {"a < as the last byte is text", "x<", ""},
      {"an unknown tag runs to the next >", "< <i>x", Tag(0, 5, HtmlTag::kDropped)},
  };
  for (const Case& c : cases) EXPECT_EQ(Scan(c.text), c.tags) << c.what;
}

TEST(HtmlTagScannerTest, StartsWhereItIsAsked) {
  EXPECT_EQ(Scan("<b>x<i>", 1), Tag(4, 7, HtmlTag::kItalic));
}

}  // namespace
}  // namespace cc::win
