#include "platform/fake/fake_path_root.h"

#include <gtest/gtest.h>

#include "core/str.h"

namespace {

TEST(FakePathRootTest, SplitsTheVolumeRootFromTheRest) {
  struct Case {
    const char16_t* path;
    const char16_t* root;  // null: refused
    const char16_t* rest;
  };
  const Case cases[] = {
      {u"C:\\Dir\\f.txt", u"C:", u"\\Dir\\f.txt"},
      {u"d:x", u"D:", u"x"},
      {u"c:", u"C:", u""},
      {u"\\\\srv\\share\\x", u"\\\\srv\\share", u"\\x"},
      {u"//srv/share/x", u"\\\\srv\\share", u"/x"},
      {u"\\\\srv\\share", u"\\\\srv\\share", u""},
      {u"\\\\srv", nullptr, nullptr},
      {u"\\\\\\share", nullptr, nullptr},
      {u"\\\\srv\\\\x", nullptr, nullptr},
      {u"\\Dir", u"C:", u"\\Dir"},
      {u"Dir\\f.txt", u"C:", u"Dir\\f.txt"},
      {u"1:\\x", u"C:", u"1:\\x"},
  };
  for (const Case& c : cases) {
    std::u16string root, rest;
    const bool split = SplitVolumeRoot(c.path, &root, &rest);
    EXPECT_EQ(split, c.root != nullptr) << cc::Str(c.path).ToUtf8();
    if (!split || !c.root) continue;
    EXPECT_EQ(root, c.root) << cc::Str(c.path).ToUtf8();
    EXPECT_EQ(rest, c.rest) << cc::Str(c.path).ToUtf8();
  }
}

}  // namespace
