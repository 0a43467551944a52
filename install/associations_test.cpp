#include "install/associations.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_registry.h"

namespace {

std::string DefaultText(FakeRegistry& registry, const char16_t* key) {
  RegValue value;
  if (!registry.GetValue(RegRoot::kClassesRoot, key, u"", &value)) return "(none)";
  if (value.type != kRegSz) return "(not REG_SZ)";
  return RegDataAsText(value.data).ToUtf8();
}

TEST(AssociationsTest, AssociateWritesTheLayoutAndRemoveTakesItAway) {
  FakeRegistry registry;
  registry.PutString(RegRoot::kClassesRoot, u"Viewer.abcd", u"", u"a neighbour");
  const cc::Str program = u"C:\\Program Files\\Viewer\\viewer.exe";
  ASSERT_TRUE(Associate(registry, u".abc", program, 0, u"Viewer document", u"Viewer"));

  struct Case {
    const char16_t* key;
    const char* value;
  };
  const Case cases[] = {
      {u".abc", "Viewer.abc"},
      {u"Viewer.abc", "Viewer document"},
      {u"Viewer.abc\\DefaultIcon", "C:\\Program Files\\Viewer\\viewer.exe,0"},
      {u"Viewer.abc\\shell\\open\\command", "\"C:\\Program Files\\Viewer\\viewer.exe\" \"%1\""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(DefaultText(registry, cases[i].key), cases[i].value) << "case " << i;
  }

  EXPECT_TRUE(RemoveAssociation(registry, u".abc", u"Viewer"));
  for (const char16_t* key : {u".abc", u"Viewer.abc", u"Viewer.abc\\shell"}) {
    EXPECT_FALSE(registry.HasKey(RegRoot::kClassesRoot, key)) << cc::Str(key).ToUtf8();
  }
  EXPECT_EQ(DefaultText(registry, u"Viewer.abcd"), "a neighbour");
  // Gone already: the program identifier does not open.
  EXPECT_FALSE(RemoveAssociation(registry, u".abc", u"Viewer"));
}

// Extensions that would write into, and at uninstall delete, keys that are
// not the association's own are refused by both operations.
TEST(AssociationsTest, MalformedExtensionsAreRefused) {
  const char16_t* extensions[] = {u"", u".", u"abc", u".a\\shell", u"\\.abc"};
  for (size_t i = 0; i < std::size(extensions); ++i) {
    FakeRegistry registry;
    registry.PutString(RegRoot::kClassesRoot, u"abc", u"", u"someone else's class");
    const int keys = registry.KeyCount();
    EXPECT_FALSE(Associate(registry, extensions[i], u"C:\\v.exe", 0, u"d", u"Viewer")) << "case " << i;
    EXPECT_EQ(registry.KeyCount(), keys) << "case " << i;
    EXPECT_FALSE(RemoveAssociation(registry, extensions[i], u"")) << "case " << i;
    EXPECT_EQ(DefaultText(registry, u"abc"), "someone else's class") << "case " << i;
  }
}

}  // namespace
