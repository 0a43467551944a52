#include "ui/anchors.h"

#include <gtest/gtest.h>

namespace cc::win {
namespace {

// A child at 10,20 size 30x40 in a 200x100 parent; the parent grows by
// 40x20 or shrinks by 40x20.
TEST(AnchoredBounds, EveryCombinationGrowsAndShrinks) {
  const Bounds child{10, 20, 30, 40};
  struct Case {
    int anchors;
    int dw, dh;
    Bounds expected;
  };
  const Case cases[] = {
      {kAnchorTop | kAnchorLeft, 40, 20, {10, 20, 30, 40}},
      {kAnchorTop | kAnchorLeft, -40, -20, {10, 20, 30, 40}},
      {kAnchorBottom | kAnchorRight, 40, 20, {50, 40, 30, 40}},
      {kAnchorBottom | kAnchorRight, -40, -20, {-30, 0, 30, 40}},
      {kAnchorTop | kAnchorBottom | kAnchorLeft | kAnchorRight, 40, 20, {10, 20, 70, 60}},
      {kAnchorTop | kAnchorBottom | kAnchorLeft | kAnchorRight, -40, -20, {10, 20, 0, 20}},
      {kAnchorBottom | kAnchorLeft | kAnchorRight, 40, 20, {10, 40, 70, 40}},
      {kAnchorBottom | kAnchorLeft | kAnchorRight, -40, -20, {10, 0, 0, 40}},
      {kAnchorBottom | kAnchorLeft, 40, 20, {10, 40, 30, 40}},
      {kAnchorTop | kAnchorRight, -40, -20, {-30, 20, 30, 40}},
      {0, 40, 20, {30, 30, 30, 40}},
      {0, -40, -20, {-10, 10, 30, 40}},
      {kAnchorLeft, 40, 20, {10, 30, 30, 40}},
      {kAnchorTop | kAnchorBottom, -40, 20, {-10, 20, 30, 60}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    Bounds got = AnchoredBounds(child, c.anchors, 200, 100, 200 + c.dw, 100 + c.dh);
    EXPECT_EQ(got, c.expected) << "case " << i << ": " << got.x << "," << got.y << " "
                               << got.width << "x" << got.height;
  }
}

}  // namespace
}  // namespace cc::win
