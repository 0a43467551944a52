#include "platform/fake/fake_profile.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_file_system.h"
#include "platform/profile_contract.h"

namespace {

TEST(FakeProfileTest, BehavesAsTheProfileFunctionsDo) {
  FakeFileSystem files;
  files.PutFolder(u"C:\\ini");
  FakeProfile profile(&files);
  CheckProfileContract(profile, files, u"C:\\ini\\");
}

// How an existing file is changed: other lines stay as they are, a new key
// goes after the last entry of its section, a new section at the end.
TEST(FakeProfileTest, EditsKeepTheRestOfTheFile) {
  struct Case {
    const char* before;
    const char16_t* section;
    const char16_t* key;
    const char16_t* value;  // null removes
    const char* after;
  };
  const Case cases[] = {
      {"; note\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", u"a", u"z", u"3",
       "; note\r\n[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
      {"[A]\r\nx = 1\r\n", u"A", u"X", u"9", "[A]\r\nX=9\r\n"},
      {"[A]\nx=1\n", u"C", u"k", u"v", "[A]\r\nx=1\r\n[C]\r\nk=v\r\n"},
      {"[A]\r\nx=1\r\ny=2\r\n", u"A", u"x", nullptr, "[A]\r\ny=2\r\n"},
      {"[A]\r\nx=1\r\n", u"B", u"x", nullptr, "[A]\r\nx=1\r\n"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    FakeFileSystem files;
    files.PutFile(u"C:\\t.ini", cases[i].before);
    FakeProfile profile(&files);
    EXPECT_TRUE(profile.WriteString(cases[i].section, cases[i].key, cc::Str(cases[i].value), u"C:\\t.ini"))
        << "case " << i;
    std::string bytes;
    ASSERT_TRUE(files.GetFileBytes(u"C:\\t.ini", &bytes)) << "case " << i;
    EXPECT_EQ(bytes, cases[i].after) << "case " << i;
  }
}

TEST(FakeProfileTest, ReadOnlyFileRefusesChangesAndUtf16FileStaysUtf16) {
  FakeFileSystem files;
  files.PutFile(u"C:\\ro.ini", "[A]\r\nx=1\r\n", kFileAttributeReadOnly);
  FakeProfile profile(&files);
  EXPECT_FALSE(profile.WriteString(u"A", u"x", u"2", u"C:\\ro.ini"));
  cc::Str value;
  EXPECT_EQ(profile.GetString(u"A", u"x", u"", 10, u"C:\\ro.ini", &value), 1);

  files.PutFile(u"C:\\wide.ini", std::string("\xFF\xFE[\0A\0]\0\r\0\n\0", 12));
  ASSERT_TRUE(profile.WriteString(u"A", u"k", u"\u00e9", u"C:\\wide.ini"));
  std::string bytes;
  ASSERT_TRUE(files.GetFileBytes(u"C:\\wide.ini", &bytes));
  EXPECT_EQ(bytes, std::string("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0", 22));
  EXPECT_EQ(profile.GetString(u"a", u"K", u"", 10, u"C:\\wide.ini", &value), 1);
  EXPECT_EQ(value, cc::Str(u"\u00e9"));
}

}  // namespace
