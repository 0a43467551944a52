#include "ui/background.h"

#include <gtest/gtest.h>

namespace cc::win {
namespace {

KeyArr Config(const char16_t* text) {
  KeyArr config(false, true);
  config.Parse(Str(text));
  return config;
}

TEST(BackgroundTest, ReadsEachKindOfGroup) {
  KeyArr config = Config(
      u"[s]\n"
      u"a.BG.Index=1\na.BG.Color2=255\na.BG.Color3=16711680\na.BG.Vertical=1\n"
      u"b.BG.Index=2\nb.BG.Color1=65280\nb.BG.ImgPath=back.jpg\nb.BG.Stretch=1\n"
      u"c.BG.Index=0\nc.BG.Color1=123\nc.BG.Cross=7\n"
      u"d.BG.Index=0\nd.BG.Cross=6\n"
      u"e.BG.Index=3\n"
      u"f.BG.Index=9\n");
  struct Case {
    const char16_t* group;
    BackgroundKind kind;
    Colour color1, color2, color3;
    bool vertical;
    int hatch;
    const char16_t* img;
    bool stretch;
  } cases[] = {
      {u"s.a.BG", BackgroundKind::kGradient, 0, 255, 16711680, true, 0, u"", false},
      {u"s.b.BG", BackgroundKind::kImage, 65280, 0, 0, false, 0, u"back.jpg", true},
      {u"s.c.BG", BackgroundKind::kSolid, 123, 0, 0, false, 0, u"", false},  // cross 7: none
      {u"s.d.BG", BackgroundKind::kSolid, 0, 0, 0, false, 6, u"", false},
      {u"s.e.BG", BackgroundKind::kThemed, 0, 0, 0, false, 0, u"", false},
      {u"s.f.BG", BackgroundKind::kUnchanged, 0, 0, 0, false, 0, u"", false},
      {u"s.none.BG", BackgroundKind::kUnchanged, 0, 0, 0, false, 0, u"", false},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    const Case& c = cases[i];
    std::vector<Str> problems;
    BackgroundSpec spec = ReadBackground(config, Str(c.group), &problems);
    EXPECT_EQ(c.kind, spec.kind) << i;
    EXPECT_EQ(c.color1, spec.color1) << i;
    EXPECT_EQ(c.color2, spec.color2) << i;
    EXPECT_EQ(c.color3, spec.color3) << i;
    EXPECT_EQ(c.vertical, spec.vertical) << i;
    EXPECT_EQ(c.hatch, spec.hatch) << i;
    EXPECT_TRUE(spec.imgPath.Equals(Str(c.img))) << i;
    EXPECT_EQ(c.stretch, spec.stretch) << i;
    EXPECT_TRUE(problems.empty()) << i;
  }
}

TEST(BackgroundTest, MalformedColourIsReportedAndReadsAsZero) {
  KeyArr config = Config(u"[s]\nBG.Index=0\nBG.Color1=red\nBG.Color3=16777216\n");
  std::vector<Str> problems;
  BackgroundSpec spec = ReadBackground(config, Str(u"s.BG"), &problems);
  EXPECT_EQ(0u, spec.color1);
  ASSERT_EQ(2u, problems.size());
  EXPECT_GE(problems[0].IndexOf(Str(u"s.BG.Color1")), 0) << problems[0].ToUtf8();
  EXPECT_GE(problems[0].IndexOf(Str(u"'red'")), 0) << problems[0].ToUtf8();
}

TEST(BackgroundTest, MissingImageFallsBackToFirstColour) {
  KeyArr config = Config(u"[s]\nBG.Index=2\nBG.Color1=255\nBG.ImgPath=gone.bmp\n");
  BackgroundSpec spec = ReadBackground(config, Str(u"s.BG"));
  Str line = FallBackToSolid(&spec);
  EXPECT_EQ(BackgroundKind::kSolid, spec.kind);
  EXPECT_EQ(255u, spec.color1);
  EXPECT_GE(line.IndexOf(Str(u"gone.bmp")), 0);
}

TEST(BackgroundTest, BrushChoiceTable) {
  struct Case {
    int mode;
    bool bitmap;
    int hatch;
    BrushSource source;
  } cases[] = {
      {kBackGradient, false, 0, BrushSource::kGradientStrip},
      {kBackGradient, true, 0, BrushSource::kStretchPattern},
      {kBackStretchedImage, true, 0, BrushSource::kStretchPattern},
      {kBackFixedBrush, false, 3, BrushSource::kFixed},
      {kBackThemed, false, 0, BrushSource::kThemed},
      {kBackSolid, false, 0, BrushSource::kSolid},
      {kBackSolid, false, 1, BrushSource::kHatch},
      {kBackSolid, false, 6, BrushSource::kHatch},
      {kBackSolid, false, 7, BrushSource::kSolid},
      {kBackStretchedImage, false, 0, BrushSource::kSolid},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
    EXPECT_EQ(cases[i].source, ChooseBrush(cases[i].mode, cases[i].bitmap, cases[i].hatch)) << i;
}

TEST(BackgroundTest, EraseRuleTable) {
  const uint32_t own = kPaintOwnBackground, clear = kPaintTransparent,
                 clear2 = kPaintTransparentAlt2, sys = kPaintSystemErase, none = 0;
  struct Case {
    uint32_t self;
    std::vector<uint32_t> ancestors;
    EraseAction action;
    int ancestor;
  } cases[] = {
      {own, {}, EraseAction::kFillOwn, -1},
      {sys, {own}, EraseAction::kPlatform, -1},
      {none, {own}, EraseAction::kPlatform, -1},
      {clear, {own}, EraseAction::kFillAncestorBrush, 0},
      {clear, {clear2, clear, own}, EraseAction::kFillAncestorBrush, 2},
      {clear, {clear, sys}, EraseAction::kAncestorErases, 1},
      {clear, {clear, clear}, EraseAction::kPlatform, -1},
      {clear, {}, EraseAction::kPlatform, -1},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    EraseDecision d = DecideErase(cases[i].self, cases[i].ancestors);
    EXPECT_EQ(cases[i].action, d.action) << i;
    EXPECT_EQ(cases[i].ancestor, d.ancestor) << i;
  }
  BrushOrigin o = AncestorBrushOrigin(30, 40, true);
  EXPECT_EQ(-32, o.x);
  EXPECT_EQ(-42, o.y);
}

}  // namespace
}  // namespace cc::win
