#include "ui/anchors.h"

namespace cc::win {
namespace {

// One direction: `pos`/`size` of the child, `delta` the parent's growth.
void Follow(bool nearEdge, bool farEdge, int delta, int* pos, int* size) {
  if (nearEdge && farEdge) {
    *size += delta;
    if (*size < 0) *size = 0;
  } else if (farEdge) {
    *pos += delta;
  } else if (!nearEdge) {
    *pos += delta / 2;
  }
}

}  // namespace

Bounds AnchoredBounds(const Bounds& child, int anchors, int oldWidth, int oldHeight, int newWidth,
                      int newHeight) {
  Bounds out = child;
  Follow(anchors & kAnchorLeft, anchors & kAnchorRight, newWidth - oldWidth, &out.x, &out.width);
  Follow(anchors & kAnchorTop, anchors & kAnchorBottom, newHeight - oldHeight, &out.y,
         &out.height);
  return out;
}

}  // namespace cc::win
