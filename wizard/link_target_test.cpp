#include "wizard/link_target.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkTargetTest, TextToTarget) {
  struct Case {
    const char16_t* text;
    const char* target;  // nullptr: no target
  };
  const Case cases[] = {
      {u"brindlecraft.example", "https://brindlecraft.example"},
      {u"  www.example.org/help ", "https://www.example.org/help"},
      {u"http://example.org", "http://example.org"},
      {u"https://example.org/a?b=c", "https://example.org/a?b=c"},
      {u"mailto:help@example.org", "mailto:help@example.org"},
      {u"Visit our website", nullptr},
      {u"", nullptr},
      {nullptr, nullptr},
      {u"readme", nullptr},
      {u"javascript:alert(1)", nullptr},
      {u"C:\\x.exe", nullptr},
      {u".hidden", nullptr},
  };
  for (const Case& c : cases) {
    cc::Str got = wizard::LinkTargetOfText(cc::Str(c.text));
    if (c.target == nullptr) {
      EXPECT_TRUE(got.IsNull()) << got.ToUtf8();
    } else {
      EXPECT_EQ(got.ToUtf8(), c.target);
    }
  }
}

}  // namespace
