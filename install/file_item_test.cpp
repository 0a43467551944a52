#include "install/file_item.h"

#include <gtest/gtest.h>

namespace {

TEST(FileItemTest, FieldsAndTheRestAsSource) {
  cc::KeyArr store(false, true);
  store.Set(u"s.f.1.Item", u"4;\t5;\t12583872;\t2;\t1;\t-7;\tx;\t12*a;\tb.txt");
  store.Set(u"s.f.2.Item", u"3;\t4");
  store.Set(u"s.f.3.Item", u"0;\t5;\t-1;\t0;\t0;\t0;\t0;\t");
  FileItem item;
  ASSERT_TRUE(ReadFileItem(store, 1, &item));
  EXPECT_EQ(item.parent, 4);
  EXPECT_EQ(item.type, 5);
  EXPECT_EQ(item.os_flags, 12583872u);
  EXPECT_EQ(item.overwrite_mode, 2);
  EXPECT_EQ(item.uninstall_mode, 1);
  EXPECT_EQ(item.selection, -7);
  EXPECT_EQ(item.source.ToUtf8(), "12*a;\tb.txt");  // the rest is taken unchanged

  ASSERT_TRUE(ReadFileItem(store, 2, &item));  // missing fields read as 0
  EXPECT_EQ(item.parent, 3);
  EXPECT_EQ(item.type, 4);
  EXPECT_EQ(item.os_flags, 0u);
  EXPECT_TRUE(item.source.IsEmpty());

  ASSERT_TRUE(ReadFileItem(store, 3, &item));  // a negative flag word keeps its 32 bits
  EXPECT_EQ(item.os_flags, 0xFFFFFFFFu);
  EXPECT_FALSE(ReadFileItem(store, 4, &item));
}

TEST(FileItemTest, TimeTakesTheThirtyTwoBitsOfSignedHalves) {
  struct Case {
    const char16_t* text;
    uint64_t expected;
  };
  const Case cases[] = {
      {u"30000000;\t-1", (uint64_t{30000000} << 32) | 0xFFFFFFFFu},
      {u"31234567;\t123", (uint64_t{31234567} << 32) | 123u},
      {u"-2147483648;\t-2147483648", 0x8000000080000000u},
      {u"5", uint64_t{5} << 32},
      {nullptr, 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cc::KeyArr store(false, true);
    if (cases[i].text) store.Set(u"s.f.9.Item.Time", cases[i].text);
    EXPECT_EQ(ReadItemTime(store, 9), cases[i].expected) << "case " << i;
  }
}

TEST(FileItemTest, InstalledFileName) {
  struct Case {
    const char16_t* source;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"12*app.exe", u"app.exe"},
      {u"app.exe", u"app.exe"},
      {u"docs\\3*readme.txt", u"readme.txt"},
      {u"docs/3*readme.txt", u"readme.txt"},
      {u"4*a*b.txt", u"a*b.txt"},
      {u"5*Home Page.link", u"Home Page.url"},
      {u"5*Home Page.LINK", u"Home Page.url"},
      {u"5*link", u"link"},
      {u"5*x.linked", u"x.linked"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(InstalledFileName(cases[i].source), cc::Str(cases[i].expected)) << "case " << i;
  }
}

}  // namespace
