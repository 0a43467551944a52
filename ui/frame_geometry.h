// The wizard frame's geometry without a window: the frame controls as they
// are created for the design size, and the rectangles the layout gives them
// for an ordinary or a wide page. The window code and its tests share it.
#pragma once

#include "ui/anchors.h"

namespace cc::win {

// The client size the frame controls are created for; the form is then
// resized to its configured size and the anchors move the rest.
inline constexpr int kFrameDesignWidth = 600;
inline constexpr int kFrameDesignHeight = 600;

// Page flag bits the frame layout reads.
enum FramePageFlags : int {
  kPageNoCancelEnable = 0x10,
  kPageNoBackEnable = 0x1,
  kPageNoNextEnable = 0x4,
  kPageHideCancel = 0x20,
  kPageHideBack = 0x2,
  kPageHideNext = 0x8,
  kPageNoImages = 0x40,
  kPageWide = 0x80,
  kPageTopImage = 0x100,
  kPageOwnTopBar = 0x800,
  kPageNoLink = 0x1000,
  kPageNoCopy = 0x2000,
  kPageNoTopLine = 0x4000,
  kPageNoBottomLine = 0x8000,
};
inline constexpr int kLayoutGeometryMask = 0xC180;
inline constexpr int kLayoutTopBarMask = 0x880;

enum class FrameParent { kForm, kTopBar };

struct FrameControlSpec {
  const char16_t* name;
  FrameParent parent;
  Bounds bounds;  // at the design size
  int anchors;
};

// The thirteen frame controls in creation order (the order also decides
// which is drawn on top: earlier ones lie above later siblings).
const FrameControlSpec* FrameControls(int* count);
// The entry named `name`, or nullptr.
const FrameControlSpec* FindFrameControl(const char16_t* name);

// What Layout computes for the flags' geometry bits.
struct FrameLayout {
  Bounds labBack1, labBack2, picTop, picLeft, labBTitle, labSTitle, page;
  // The line under the top bar spans the whole width with 2 pixels beyond
  // each edge, whatever sizes the form went through before.
  Bounds labLineTop;
  bool hasPicLeft = false;  // the wide page moves picLeft
  int titleFontHeight = 15;
  bool picTopVisible = true, picLeftVisible = false, labSTitleVisible = true;
  bool labLineTopVisible = true, labLineBottomVisible = true;
};

// `topImageWidth` / `leftImageWidth` below 1 mean 57 / 164; width and height
// are the client size.
FrameLayout ComputeFrameLayout(int flags, int width, int height, int topImageWidth,
                               int leftImageWidth);

}  // namespace cc::win
