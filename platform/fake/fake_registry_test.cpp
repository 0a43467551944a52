#include "platform/fake/fake_registry.h"

#include <gtest/gtest.h>

#include "platform/registry_contract.h"

namespace {

TEST(FakeRegistryTest, BehavesAsTheSystemRegistryDoes) {
  FakeRegistry registry;
  const RegRoot roots[] = {RegRoot::kClassesRoot, RegRoot::kCurrentUser, RegRoot::kLocalMachine,
                           RegRoot::kUsers};
  for (RegRoot root : roots) {
    SCOPED_TRACE(static_cast<int>(root));
    CheckRegistryContract(registry, root, u"Software\\VelmoraTest");
  }
  EXPECT_EQ(registry.KeyCount(), 4 + 4);  // the roots and each root's "Software"
}

TEST(FakeRegistryTest, KeysWithSimilarNamesAreNotSubkeys) {
  FakeRegistry registry;
  registry.CreateKey(RegRoot::kCurrentUser, u"Software\\Acme");
  registry.CreateKey(RegRoot::kCurrentUser, u"Software\\Acme 2\\Sub");
  registry.CreateKey(RegRoot::kCurrentUser, u"Software\\Acme-x");
  EXPECT_TRUE(registry.DeleteKey(RegRoot::kCurrentUser, u"software\\ACME"));
  EXPECT_TRUE(registry.HasKey(RegRoot::kCurrentUser, u"Software\\Acme 2\\Sub"));
}

TEST(FakeRegistryTest, PathsIgnoreOuterAndDoubledSeparators) {
  FakeRegistry registry;
  registry.PutString(RegRoot::kClassesRoot, u"\\.acme\\shell\\open\\command\\", u"", u"x");
  EXPECT_TRUE(registry.HasKey(RegRoot::kClassesRoot, u".acme\\\\shell\\open\\command"));
}

TEST(FakeRegistryTest, A32BitProgramOn64BitWindowsWritesMachineSoftwareToWow6432Node) {
  struct Case {
    bool redirect;
    RegView view;
    const char16_t* seenAs;  // where the value lands, seen through the 64-bit view
  };
  const Case cases[] = {
      {true, RegView::kDefault, u"Software\\Wow6432Node\\Acme"},
      {true, RegView::k32, u"Software\\Wow6432Node\\Acme"},
      {true, RegView::k64, u"Software\\Acme"},
      {false, RegView::kDefault, u"Software\\Acme"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    FakeRegistry registry;
    registry.SetRedirect32(cases[i].redirect);
    registry.PutString(RegRoot::kLocalMachine, u"Software\\Acme", u"v", u"1", cases[i].view);
    RegValue value;
    EXPECT_TRUE(registry.GetValue(RegRoot::kLocalMachine, cases[i].seenAs, u"v", &value, RegView::k64))
        << "case " << i;
    // The same view reads it back.
    EXPECT_TRUE(registry.GetValue(RegRoot::kLocalMachine, u"Software\\Acme", u"v", &value, cases[i].view))
        << "case " << i;
  }
  // The user's hive is not redirected.
  FakeRegistry registry;
  registry.SetRedirect32(true);
  registry.PutString(RegRoot::kCurrentUser, u"Software\\Acme", u"v", u"1");
  EXPECT_TRUE(registry.HasKey(RegRoot::kCurrentUser, u"Software\\Acme", RegView::k64));
}

TEST(FakeRegistryTest, ValueTextReadsStringsAndRawBytes) {
  struct Case {
    std::string data;
    const char* text;
  };
  const Case cases[] = {
      {RegStringData(u"abc"), "abc"},
      {std::string("a\0b\0", 4), "ab"},            // no terminator
      {std::string("a\0\0\0b\0", 6), "a"},         // stops at the first zero unit
      {RegDwordData(0x00620061), "ab"},             // raw bytes
      {std::string("a\0b", 3), "a"},               // a lone last byte is ignored
      {std::string(), ""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cc::Str text = RegDataAsText(cases[i].data);
    EXPECT_EQ(text.ToUtf8(), cases[i].text) << "case " << i;
    EXPECT_FALSE(text.IsNull()) << "case " << i;
  }
}

}  // namespace
