#include "ui/colour.h"

#include <gtest/gtest.h>

namespace cc::win {
namespace {

TEST(ColourTest, ParseColourTable) {
  struct Case {
    const char16_t* text;
    bool ok;
    Colour value;
  } cases[] = {
      {u"255", true, 255},           {u"16711680", true, 16711680}, {u" 0 ", true, 0},
      {u"16777215", true, 0xFFFFFF}, {u"16777216", false, 0},       {u"-1", false, 0},
      {u"12a", false, 0},            {u"", false, 0},               {u"99999999999", false, 0},
      {u"0x10", false, 0},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    Colour c = 7;
    Str reason;
    EXPECT_EQ(cases[i].ok, ParseColour(Str(cases[i].text), &c, &reason)) << "case " << i;
    EXPECT_EQ(cases[i].ok ? cases[i].value : 7u, c) << "case " << i;
    EXPECT_EQ(cases[i].ok, reason.IsNull() || reason.IsEmpty()) << "case " << i;
  }
}

TEST(ColourTest, GradientStripTable) {
  struct Case {
    Colour a, b;
    int width, height;
    bool vertical;
    int length;
  } cases[] = {
      {0x808080, 0x808080, 100, 50, false, 1},  // equal colours: one pixel
      {0, 16711680, 0, 0, false, 255},          // black to blue, no size
      {0, 16711680, 100, 50, false, 100},       // limited by the width
      {0, 16711680, 100, 50, true, 50},         // limited by the height
      {0, 16711680, 400, 300, true, 255},
      {255, 0, 10, -1, false, 255},             // a size below 1 is no size
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(c.length, GradientStripLength(c.a, c.b, c.width, c.height, c.vertical)) << i;
  }
}

TEST(ColourTest, GradientPixelsStopOneStepShortAndTruncateTowardZero) {
  EXPECT_EQ(0u, GradientStripPixel(0, 16711680, 0, 255));
  EXPECT_EQ(MakeColour(0, 0, 254), GradientStripPixel(0, 16711680, 254, 255));
  // Falling channel: 200 + trunc(1 * -100 / 3) = 200 - 33.
  EXPECT_EQ(MakeColour(167, 0, 0), GradientStripPixel(MakeColour(200, 0, 0), MakeColour(100, 0, 0), 1, 3));
}

TEST(ColourTest, DarkenScalesEachChannel) {
  EXPECT_EQ(MakeColour(127, 49, 0), DarkenColour(MakeColour(255, 100, 0), 128));
  EXPECT_EQ(0u, DarkenColour(0xFFFFFF, 255));
  EXPECT_EQ(0xFFFFFFu, DarkenColour(0xFFFFFF, -5));
}

}  // namespace
}  // namespace cc::win
