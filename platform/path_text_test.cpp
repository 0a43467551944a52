#include "platform/path_text.h"

#include <gtest/gtest.h>

namespace {

TEST(PathTextTest, WithTrailingBackslash) {
  struct Case {
    const char16_t* path;
    const char16_t* expected;
  };
  const Case cases[] = {
      // An unknown folder stays unknown instead of becoming the drive root.
      {u"", u""},
      {u"C:\\app", u"C:\\app\\"},
      {u"C:\\app\\", u"C:\\app\\"},
      {u"C:/app/", u"C:/app/"},
      {u"C:", u"C:\\"},
      {u"\\\\server\\share", u"\\\\server\\share\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithTrailingBackslash(cc::Str(c.path)).ToUtf8(), cc::Str(c.expected).ToUtf8());
  }
}

}  // namespace
