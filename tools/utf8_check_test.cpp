#include "tools/utf8_check.h"

#include <gtest/gtest.h>

namespace pack {
namespace {

TEST(Utf8CheckTest, FindsTheFirstBadSequence) {
  struct Case {
    std::string text;
    size_t expected;
  } cases[] = {
      {"", kValidUtf8},
      {"plain ASCII\r\n", kValidUtf8},
      {"Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80", kValidUtf8},  // 2-, 3- and 4-byte forms
      {"\xEF\xBB\xBFkey=v", kValidUtf8},                                      // byte-order mark
      {"caf\xE9", 3},                                                         // Windows-1252 e-acute
      {"ab\xC3", 2},                                                          // truncated at the end
      {"\xC0\xAF", 0},                                                        // overlong '/'
      {"\xE0\x80\xAF", 0},                                                    // overlong, 3 bytes
      {"x\xED\xA0\x80", 1},                                                   // UTF-16 surrogate
      {"\xF4\x90\x80\x80", 0},                                                // above U+10FFFF
      {"ok\x80", 2},                                                          // stray continuation
      {"\xE2\x82" "A", 0},                                                    // broken continuation
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(FindInvalidUtf8(cases[i].text), cases[i].expected) << "case " << i;
  }
}

TEST(Utf8CheckTest, DescribesLineAndColumn) {
  EXPECT_EQ(DescribeOffset("ab\ncd\xE9", 5), "line 2, column 3 (byte offset 5)");
  EXPECT_EQ(DescribeOffset("\xE9", 0), "line 1, column 1 (byte offset 0)");
}

}  // namespace
}  // namespace pack
