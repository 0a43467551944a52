#include "wizard/path_lines.h"

#include <gtest/gtest.h>

namespace {

// One pixel per character.
int Length(std::u16string_view text) { return static_cast<int>(text.size()); }

TEST(PathLinesTest, LinesForWidthAndCount) {
  struct Case {
    const char* name;
    const char16_t* path;
    int width, maxLines;
    const char16_t* expected;  // lines joined with "|"
  };
  const Case cases[] = {
      {"fits on one line", u"C:\\App\\a.txt", 20, 1, u"C:\\App\\a.txt"},
      {"broken at separators", u"C:\\Program Files\\Demo\\readme.txt", 18, 3,
       u"C:\\Program Files\\|Demo\\readme.txt"},
      {"middle folders left out", u"C:\\one\\two\\three\\four\\file.txt", 14, 2,
       u"C:\\...\\three\\|four\\file.txt"},
      {"only the drive and the name", u"C:\\aaaaaaaa\\bbbbbbbb\\name.txt", 10, 2, u"C:\\...\\|name.txt"},
      {"no room for the drive", u"C:\\aaaaaaaa\\name.txt", 12, 1, u"...\\name.txt"},
      {"a long name keeps its end", u"C:\\d\\averyveryverylongname.txt", 10, 2,
       u"...longnam|e.txt"},
      {"a long folder is cut between characters", u"C:\\abcdefghijkl\\x.txt", 6, 4,
       u"C:\\|abcdef|ghijkl|\\x.txt"},
      {"no separator", u"file.txt", 4, 2, u"file|.txt"},
      {"at least one line", u"C:\\a\\b.txt", 5, 0, u"...xt"},
  };
  for (const Case& c : cases) {
    std::vector<cc::Str> lines = wizard::FitPathLines(c.path, c.width, c.maxLines, Length);
    std::u16string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (i) joined += u'|';
      joined += lines[i].View();
      EXPECT_LE(lines[i].GetLength(), c.width) << c.name << " line " << i;
    }
    EXPECT_EQ(cc::Str(joined), cc::Str(c.expected)) << c.name << ": " << cc::Str(joined).ToUtf8();
  }
  EXPECT_TRUE(wizard::FitPathLines(u"", 10, 2, Length).empty());
}

TEST(PathLinesTest, JoinedWithLineBreaks) {
  EXPECT_EQ(wizard::JoinLines({cc::Str(u"a"), cc::Str(u"b")}), cc::Str(u"a\r\nb"));
  EXPECT_EQ(wizard::JoinLines({}), cc::Str(u""));
}

}  // namespace
