// Where a child goes when its parent's client area changes size, by the
// child's anchor bits. Platform-free so that every combination is tested
// natively.
#pragma once

namespace cc::win {

// Anchor bits of a control; the default is kAnchorTop | kAnchorLeft.
enum AnchorBits : int {
  kAnchorTop = 1,
  kAnchorBottom = 2,
  kAnchorLeft = 4,
  kAnchorRight = 8,
};
inline constexpr int kDefaultAnchors = kAnchorTop | kAnchorLeft;

struct Bounds {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Bounds& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

// The child's new bounds after its parent's client size went from
// oldWidth x oldHeight to newWidth x newHeight. Per direction: anchored to
// both edges stretches, only to the far edge moves by the growth, to neither
// keeps its centre (moves by half the growth), only to the near edge stays.
// A stretched size never goes below 0.
Bounds AnchoredBounds(const Bounds& child, int anchors, int oldWidth, int oldHeight, int newWidth,
                      int newHeight);

}  // namespace cc::win
