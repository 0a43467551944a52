#include "ui/declared_settings.h"

#include <gtest/gtest.h>

namespace cc::win {
namespace {

TEST(DeclaredSettingsTest, KeyDerivation) {
  EXPECT_TRUE(DeclaredKeyBase(Str(u"s.c"), Str(u"btnNext")).Equals(Str(u"s.c.btnNext")));
  EXPECT_TRUE(DeclaredKeyBase(Str(u""), Str(u"s.p.p3")).Equals(Str(u"s.p.p3")));
  EXPECT_TRUE(DeclaredKeyBase(Str(nullptr), Str(u"x")).Equals(Str(u"x")));
  EXPECT_TRUE(KeyComponent(Str(u"labInfo"), Str(nullptr)).Equals(Str(u"labInfo")));
  EXPECT_TRUE(KeyComponent(Str(u"client"), Str(u"s.p.pForm")).Equals(Str(u"s.p.pForm")));
  EXPECT_TRUE(IsExcludedFromDeclared(Str(u"")));
  EXPECT_FALSE(IsExcludedFromDeclared(Str(nullptr)));
  EXPECT_FALSE(IsExcludedFromDeclared(Str(u"s.p.p1")));
}

TEST(DeclaredSettingsTest, RectangleTable) {
  struct Case {
    const char16_t* text;
    bool ok, position, size;
    int x, y, w, h;
  } cases[] = {
      {u"1,2,3,4", true, true, true, 1, 2, 3, 4},
      {u"10,20", true, true, false, 10, 20, 0, 0},
      {u",,100,30", true, false, true, 0, 0, 100, 30},
      {u"-2, 59 ,606,2", true, true, true, -2, 59, 606, 2},
      {u"10,,5,5", true, false, true, 10, 0, 5, 5},
      {u"", true, false, false, 0, 0, 0, 0},
      {u"1,2,x,4", false, false, false, 0, 0, 0, 0},
      {u"1,2,3,4,5", false, false, false, 0, 0, 0, 0},
      {u"1.5,2", false, false, false, 0, 0, 0, 0},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    const Case& c = cases[i];
    DeclaredRect r;
    Str reason;
    ASSERT_EQ(c.ok, ParseDeclaredRect(Str(c.text), &r, &reason)) << i;
    EXPECT_EQ(c.ok, reason.IsNull()) << i;
    if (!c.ok) continue;
    EXPECT_EQ(c.position, r.hasPosition) << i;
    EXPECT_EQ(c.size, r.hasSize) << i;
    if (c.position) {
      EXPECT_EQ(c.x * 1000 + c.y, r.x * 1000 + r.y) << i;
    }
    if (c.size) {
      EXPECT_EQ(c.w * 1000 + c.h, r.width * 1000 + r.height) << i;
    }
  }
}

TEST(DeclaredSettingsTest, ColourListTable) {
  struct Case {
    const char16_t* text;
    bool text_, accent, back, second;
    Colour backValue;
    size_t problems;
  } cases[] = {
      {u",,255", false, false, true, false, 255, 0},
      {u"0,1,2,3", true, true, true, true, 2, 0},
      {u"0,blue,16711680", true, false, true, false, 16711680, 1},
      {u"1,2,3,4,5", true, true, true, true, 3, 1},
      {u"", false, false, false, false, 0, 0},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    const Case& c = cases[i];
    DeclaredColours d;
    std::vector<Str> problems;
    ParseDeclaredColours(Str(c.text), &d, &problems);
    EXPECT_EQ(c.text_, d.hasText) << i;
    EXPECT_EQ(c.accent, d.hasAccent) << i;
    EXPECT_EQ(c.back, d.hasBack) << i;
    EXPECT_EQ(c.second, d.hasSecond) << i;
    if (c.back) {
      EXPECT_EQ(c.backValue, d.back) << i;
    }
    EXPECT_EQ(c.problems, problems.size()) << i;
  }
}

TEST(DeclaredSettingsTest, PaintFlagsTable) {
  struct Case {
    int flags;
    const char16_t* image;
    DeclaredPaint paint;
    bool vertical, stretch;
  } cases[] = {
      {0x2, u"", DeclaredPaint::kNone, false, false},
      {0x100, u"", DeclaredPaint::kStopOwn, false, false},
      {0x100 | 0x200 | 0x400, u"", DeclaredPaint::kOwnSolid, false, false},
      {0x100 | 0x400, u"", DeclaredPaint::kOwnGradient, false, false},
      {0x100 | 0x800, u"", DeclaredPaint::kOwnGradient, true, false},
      {0x100 | 0x1000 | 0x2000, u"a.png", DeclaredPaint::kOwnImage, false, true},
      {0x100 | 0x1000, u"a.png", DeclaredPaint::kOwnImage, false, false},
      {0x100 | 0x1000, u"", DeclaredPaint::kNone, false, false},  // empty name: nothing
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    KeyArr config(false, true);
    config.SetInt(Str(u"s.c.x._DFlag"), cases[i].flags);
    config.Set(Str(u"s.c.x._DFlag_Img"), Str(cases[i].image));
    DeclaredSettings s = ReadDeclared(config, Str(u"s.c.x"), Str(u"en."));
    EXPECT_EQ(cases[i].paint, s.paint) << i;
    EXPECT_EQ(cases[i].vertical, s.paint == DeclaredPaint::kOwnGradient && s.vertical) << i;
    EXPECT_EQ(cases[i].stretch, s.stretch) << i;
  }
}

TEST(DeclaredSettingsTest, ReadsEverythingUnderTheKeyBase) {
  KeyArr config(false, true);
  config.Parse(Str(
      u"en.s.c.btnNext=Go on\n"
      u"s.c.btnNext._DFlag=267\n"  // 0x1 | 0x2 | 0x8 | 0x100
      u"s.c.btnNext._DRect=10,20,90,23\n"
      u"s.c.btnNext._DColor=,,255\n"
      u"s.c.btnNext._DCross=3\n"
      u"s.c.btnNext._DCtlCount=3\n"
      u"s.c.btnNext._DCtl1.Name=one\ns.c.btnNext._DCtl1.Type=Label\n"
      u"s.c.btnNext._DCtl2.Name=two\ns.c.btnNext._DCtl2.Type=label\n"
      u"s.c.btnNext._DCtl3.Name=three\ns.c.btnNext._DCtl3.Type=Button\n"
      u"s.c.btnNext._DCtl3.CfgName=s.c.extra\n"));
  DeclaredSettings s = ReadDeclared(config, Str(u"s.c.btnNext"), Str(u"en."));
  EXPECT_TRUE(s.hasText);
  EXPECT_TRUE(s.text.Equals(Str(u"Go on")));
  EXPECT_TRUE(s.hasRect);
  EXPECT_EQ(90, s.rect.width);
  EXPECT_TRUE(s.hasColours);
  EXPECT_TRUE(s.colours.hasBack && !s.colours.hasText && !s.colours.hasAccent);
  EXPECT_EQ(255u, s.colours.back);
  EXPECT_EQ(3, s.colours.hatch);
  EXPECT_EQ(DeclaredPaint::kStopOwn, s.paint);
  ASSERT_EQ(2u, s.children.size());  // "label" in lower case creates nothing
  EXPECT_EQ(3, s.children[0].number);
  EXPECT_TRUE(s.children[0].cfgName.Equals(Str(u"s.c.extra")));
  EXPECT_EQ(1, s.children[1].number);
  EXPECT_TRUE(s.children[1].cfgName.IsNull());
  ASSERT_EQ(1u, s.problems.size());
  EXPECT_GE(s.problems[0].IndexOf(Str(u"'label'")), 0);
}

TEST(DeclaredSettingsTest, ZeroFlagsReadOnlyTheText) {
  KeyArr config(false, true);
  config.Set(Str(u"de.s.c.labX"), Str(u""));
  config.Set(Str(u"s.c.labX._DRect"), Str(u"1,2,3,4"));
  DeclaredSettings s = ReadDeclared(config, Str(u"s.c.labX"), Str(u"de."));
  EXPECT_TRUE(s.hasText);  // an existing empty value sets an empty text
  EXPECT_TRUE(s.text.IsEmpty());
  EXPECT_FALSE(s.hasRect);
  EXPECT_FALSE(ReadDeclared(config, Str(u"s.c.labX"), Str(u"en.")).hasText);
}

TEST(DeclaredSettingsTest, MalformedValuesAreIgnoredWithAReason) {
  struct Case {
    const char16_t* flag;
    const char16_t* rect;
    const char16_t* count;
    int flags;
    bool hasRect;
    const char16_t* reasonNames;
  } cases[] = {
      {u"abc", u"1,2,3,4", u"", 0, false, u"._DFlag"},
      {u"1", u"1,2,three,4", u"", 1, false, u"._DRect"},
      {u"8", u"", u"many", 8, false, u"._DCtlCount"},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    KeyArr config(false, true);
    config.Set(Str(u"b._DFlag"), Str(cases[i].flag));
    config.Set(Str(u"b._DRect"), Str(cases[i].rect));
    config.Set(Str(u"b._DCtlCount"), Str(cases[i].count));
    DeclaredSettings s = ReadDeclared(config, Str(u"b"), Str(u"en."));
    EXPECT_EQ(cases[i].flags, s.flags) << i;
    EXPECT_EQ(cases[i].hasRect, s.hasRect) << i;
    EXPECT_TRUE(s.children.empty()) << i;
    ASSERT_EQ(1u, s.problems.size()) << i;
    EXPECT_GE(s.problems[0].IndexOf(Str(cases[i].reasonNames)), 0) << s.problems[0].ToUtf8();
  }
}

}  // namespace
}  // namespace cc::win
