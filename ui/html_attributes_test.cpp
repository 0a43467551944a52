#include "ui/html_attributes.h"

#include <gtest/gtest.h>

namespace cc::win {
namespace {

TEST(HtmlAttributesTest, ReadsWhatTheElementTakes) {
  const TextFormat start{20, -1, -1};
  struct Case {
    const char* what;
    std::string_view attributes;
    AttributeSet set;
    TextFormat format;
    std::string href;
    TextAlign align;
  };
  const Case cases[] = {
      {"nothing", "", AttributeSet::kCommon, start, "", TextAlign::kNone},
      {"font size and colour", " size=3 color=\"#FF0000\"", AttributeSet::kFont, {18, 0xFF0000, -1}, "",
       TextAlign::kNone},
      {"size and colour only on FONT", " size=3 color=#FF0000", AttributeSet::kCommon, start, "",
       TextAlign::kNone},
      {"empty size keeps the size", " size=\"\"", AttributeSet::kFont, start, "", TextAlign::kNone},
      {"colour not #RRGGBB ignored", " color=red", AttributeSet::kFont, start, "", TextAlign::kNone},
      {"bgcolor is not color", " bgcolor=#00FF00", AttributeSet::kFont, start, "", TextAlign::kNone},
      {"href as written", " href='http://x/?a=1&b'", AttributeSet::kHref, start, "http://x/?a=1&b",
       TextAlign::kNone},
      {"href only on A", " href=x", AttributeSet::kCommon, start, "", TextAlign::kNone},
      {"align in any case", " align=CENTER", AttributeSet::kCommon, start, "", TextAlign::kCenter},
      {"unknown align", " align=justify", AttributeSet::kCommon, start, "", TextAlign::kNone},
      {"name without value", " align style", AttributeSet::kCommon, start, "", TextAlign::kNone},
      {"style declarations", " style=\"font-size: 12; color:#0000ff; background : #FFFF00\"",
       AttributeSet::kCommon, {24, 0x0000FF, 0xFFFF00}, "", TextAlign::kNone},
      {"text-align in style", " style='text-align:right'", AttributeSet::kCommon, start, "",
       TextAlign::kRight},
      {"background-color is not color", " style='background-color:#00FF00'", AttributeSet::kCommon, start,
       "", TextAlign::kNone},
      {"later value wins", " align=left style='text-align:right'", AttributeSet::kCommon, start, "",
       TextAlign::kRight},
      {"declaration without colon", " style='font-size 12'", AttributeSet::kCommon, start, "",
       TextAlign::kNone},
      {"unclosed quote ends at the line end", " href=\"a b\nc", AttributeSet::kHref, start, "a b",
       TextAlign::kNone},
      {"huge size saturates", " size=99999999999", AttributeSet::kFont, {600000, -1, -1}, "",
       TextAlign::kNone},
  };
  for (const Case& c : cases) {
    TextFormat format = start;
    const ElementAttributes read = ReadElementAttributes(c.attributes, c.set, &format);
    EXPECT_EQ(format, c.format) << c.what;
    EXPECT_EQ(read.href, c.href) << c.what;
    EXPECT_EQ(read.align, c.align) << c.what;
  }
}

}  // namespace
}  // namespace cc::win
