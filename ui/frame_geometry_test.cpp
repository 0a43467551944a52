#include "ui/frame_geometry.h"

#include <gtest/gtest.h>

namespace cc::win {
namespace {

::testing::AssertionResult Same(const Bounds& got, const Bounds& want) {
  if (got == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << got.x << "," << got.y << " " << got.width << "x"
                                       << got.height << " instead of " << want.x << "," << want.y
                                       << " " << want.width << "x" << want.height;
}

TEST(ComputeFrameLayout, OrdinaryAndWidePagesAtThreeSizes) {
  struct Case {
    int flags, w, h, tw, lw;
    Bounds labBack1, labBack2, picTop, labBTitle, page;
    int font;
  };
  const Case cases[] = {
      {0, 500, 355, 0, 0, {0, 0, 500, 57}, {0, 57, 500, 254}, {444, 1, 57, 56},
       {20, 9, 420, 18}, {18, 10, 464, 233}, 15},
      {0, 600, 420, 57, 164, {0, 0, 600, 57}, {0, 57, 600, 319}, {544, 1, 57, 56},
       {20, 9, 520, 18}, {18, 10, 564, 298}, 15},
      {0x100, 700, 500, -5, 0, {0, 0, 700, 57}, {0, 57, 700, 399}, {644, 1, 57, 56},
       {20, 9, 620, 18}, {18, 10, 664, 378}, 15},
      {0, 500, 355, 80, 0, {0, 0, 500, 57}, {0, 57, 500, 254}, {421, 1, 80, 56},
       {20, 9, 397, 18}, {18, 10, 464, 233}, 15},
      {kPageWide, 500, 355, 0, 0, {164, 0, 336, 70}, {164, 70, 336, 241}, {280, 1, 57, 56},
       {12, 16, 312, 54}, {12, 10, 312, 220}, 21},
      {kPageWide, 600, 420, 0, 0, {164, 0, 436, 70}, {164, 70, 436, 306}, {380, 1, 57, 56},
       {12, 16, 412, 54}, {12, 10, 412, 285}, 21},
      {kPageWide, 700, 500, 0, 200, {200, 0, 500, 70}, {200, 70, 500, 386}, {444, 1, 57, 56},
       {12, 16, 476, 54}, {12, 10, 476, 365}, 21},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    FrameLayout got = ComputeFrameLayout(c.flags, c.w, c.h, c.tw, c.lw);
    EXPECT_TRUE(Same(got.labBack1, c.labBack1)) << "case " << i << " labBack1";
    EXPECT_TRUE(Same(got.labBack2, c.labBack2)) << "case " << i << " labBack2";
    EXPECT_TRUE(Same(got.picTop, c.picTop)) << "case " << i << " picTop";
    EXPECT_TRUE(Same(got.labBTitle, c.labBTitle)) << "case " << i << " labBTitle";
    EXPECT_TRUE(Same(got.page, c.page)) << "case " << i << " page";
    EXPECT_TRUE(Same(got.labLineTop, {-2, 59, c.w + 6, 2})) << "case " << i << " labLineTop";
    EXPECT_EQ(got.titleFontHeight, c.font) << "case " << i;
    bool wide = c.flags & kPageWide;
    EXPECT_EQ(got.picLeftVisible, wide) << "case " << i;
    EXPECT_EQ(got.picTopVisible, !wide) << "case " << i;
    EXPECT_EQ(got.labSTitleVisible, !wide) << "case " << i;
    if (wide) {
      EXPECT_TRUE(Same(got.picLeft, {0, 0, c.lw < 1 ? 164 : c.lw, c.h - 44})) << "case " << i;
    }
  }
}

TEST(ComputeFrameLayout, LinesFollowTheirFlags) {
  struct Case {
    int flags;
    bool top, bottom;
  };
  const Case cases[] = {{0, true, true},
                        {kPageNoTopLine, false, true},
                        {kPageNoBottomLine, true, false},
                        {kPageWide, false, true},
                        {kPageWide | kPageNoBottomLine, false, false}};
  for (const Case& c : cases) {
    FrameLayout got = ComputeFrameLayout(c.flags, 500, 355, 0, 0);
    EXPECT_EQ(got.labLineTopVisible, c.top) << std::hex << c.flags;
    EXPECT_EQ(got.labLineBottomVisible, c.bottom) << std::hex << c.flags;
  }
}

// The frame is built at the design size and the anchors carry the buttons,
// the bottom line and the footer to the configured size.
TEST(FrameControls, AnchorsPlaceTheBottomRowAtEachSize) {
  struct Case {
    const char16_t* name;
    int w, h;
    Bounds expected;
  };
  const Case cases[] = {
      {u"btnCancel", 500, 355, {402, 323, 90, 23}},
      {u"btnNext", 500, 355, {302, 323, 90, 23}},
      {u"btnBack", 500, 355, {212, 323, 90, 23}},
      {u"labLineBottom", 500, 355, {-2, 311, 506, 2}},
      {u"copyMain", 500, 355, {4, 304, 200, 17}},
      {u"linkMain", 500, 355, {5, 320, 200, 17}},
      {u"btnCancel", 600, 420, {502, 388, 90, 23}},
      {u"labLineBottom", 600, 420, {-2, 376, 606, 2}},
      {u"btnCancel", 700, 500, {602, 468, 90, 23}},
      {u"btnBack", 700, 500, {412, 468, 90, 23}},
      {u"labLineTop", 700, 500, {-2, 59, 706, 2}},
      {u"linkMain", 700, 500, {5, 465, 200, 17}},
  };
  for (const Case& c : cases) {
    const FrameControlSpec* spec = FindFrameControl(c.name);
    ASSERT_NE(spec, nullptr);
    Bounds got = AnchoredBounds(spec->bounds, spec->anchors, kFrameDesignWidth,
                                kFrameDesignHeight, c.w, c.h);
    EXPECT_TRUE(Same(got, c.expected)) << c.w << "x" << c.h;
  }
}

}  // namespace
}  // namespace cc::win
