#include "core/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace cc {
namespace {

// The per-character decoder is what the HTML converter and the packer's
// text check walk with: its length and validity decide where a bad sequence
// is reported and where decoding resumes.
TEST(CodePageTest, DecodeUtf8CharLengthsAndValidity) {
  struct Case {
    const char* what;
    std::string bytes;
    char32_t code_point;
    size_t length;
    bool valid;
  };
  const Case cases[] = {
      {"ASCII", "a", U'a', 1, true},
      {"two bytes", "\xC3\xA9", U'\u00E9', 2, true},
      {"three bytes", "\xE2\x82\xAC", U'\u20AC', 3, true},
      {"four bytes", "\xF0\x9F\x98\x80", U'\U0001F600', 4, true},
      {"a real U+FFFD is valid", "\xEF\xBF\xBD", U'\uFFFD', 3, true},
      {"stray continuation", "\x80z", U'\uFFFD', 1, false},
      {"overlong lead", "\xC0\xAF", U'\uFFFD', 1, false},
      {"overlong three bytes", "\xE0\x80\x80", U'\uFFFD', 1, false},
      {"encoded surrogate", "\xED\xA0\x80", U'\uFFFD', 1, false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", U'\uFFFD', 1, false},
      {"truncated at the end", "\xE2\x82", U'\uFFFD', 2, false},
      {"broken by ASCII", "\xF0\x9F\x98z", U'\uFFFD', 3, false},
  };
  for (const Case& c : cases) {
    const Utf8Char got = DecodeUtf8Char(c.bytes, 0);
    EXPECT_EQ(got.code_point, c.code_point) << c.what;
    EXPECT_EQ(got.length, c.length) << c.what;
    EXPECT_EQ(got.valid, c.valid) << c.what;
  }
}

TEST(CodePageTest, AppendUtf8RoundTripsThroughTheDecoder) {
  for (const char32_t cp : {U'\x7F', U'\x80', U'\u07FF', U'\u0800', U'\uFFFF',
                            U'\U00010000', U'\U0010FFFF'}) {
    std::string bytes;
    AppendUtf8(bytes, cp);
    const Utf8Char got = DecodeUtf8Char(bytes, 0);
    EXPECT_TRUE(got.valid) << static_cast<uint32_t>(cp);
    EXPECT_EQ(got.code_point, cp);
    EXPECT_EQ(got.length, bytes.size());
  }
}

}  // namespace
}  // namespace cc
