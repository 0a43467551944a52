#include "ui/frame_geometry.h"

#include <iterator>
#include <string_view>

namespace cc::win {
namespace {

constexpr int kDefaultTopImageWidth = 57;
constexpr int kDefaultLeftImageWidth = 164;
constexpr int kAll = kAnchorTop | kAnchorBottom | kAnchorLeft | kAnchorRight;

const FrameControlSpec kFrame[] = {
    {u"labBTitle", FrameParent::kTopBar, {25, 9, 519, 18}, kDefaultAnchors},
    {u"labSTitle", FrameParent::kTopBar, {44, 27, 490, 30}, kDefaultAnchors},
    {u"picTop", FrameParent::kTopBar, {544, 1, 57, 56}, kDefaultAnchors},
    {u"btnBack", FrameParent::kForm, {312, 568, 90, 23}, kAnchorBottom | kAnchorRight},
    {u"btnNext", FrameParent::kForm, {402, 568, 90, 23}, kAnchorBottom | kAnchorRight},
    {u"btnCancel", FrameParent::kForm, {502, 568, 90, 23}, kAnchorBottom | kAnchorRight},
    {u"labLineTop", FrameParent::kForm, {-2, 59, 606, 2}, kAnchorTop | kAnchorLeft | kAnchorRight},
    {u"labLineBottom", FrameParent::kForm, {-2, 556, 606, 2},
     kAnchorBottom | kAnchorLeft | kAnchorRight},
    {u"copyMain", FrameParent::kForm, {4, 549, 200, 17}, kAnchorBottom | kAnchorLeft},
    {u"linkMain", FrameParent::kForm, {5, 565, 200, 17}, kAnchorBottom | kAnchorLeft},
    {u"labBack1", FrameParent::kForm, {0, 0, 600, 57}, kAnchorTop | kAnchorLeft | kAnchorRight},
    {u"picLeft", FrameParent::kForm, {0, 0, 164, 556}, kAnchorTop | kAnchorBottom | kAnchorLeft},
    {u"labBack2", FrameParent::kForm, {0, 57, 600, 100}, kAll},
};

}  // namespace

const FrameControlSpec* FrameControls(int* count) {
  *count = static_cast<int>(std::size(kFrame));
  return kFrame;
}

const FrameControlSpec* FindFrameControl(const char16_t* name) {
  for (const FrameControlSpec& spec : kFrame) {
    if (std::u16string_view(spec.name) == name) return &spec;
  }
  return nullptr;
}

FrameLayout ComputeFrameLayout(int flags, int width, int height, int topImageWidth,
                               int leftImageWidth) {
  const int tw = topImageWidth < 1 ? kDefaultTopImageWidth : topImageWidth;
  const int lw = leftImageWidth < 1 ? kDefaultLeftImageWidth : leftImageWidth;
  FrameLayout out;
  if (!(flags & kPageWide)) {
    out.labBack1 = {0, 0, width, 57};
    out.labBack2 = {0, 57, width, height - 101};
    out.picTop = {width - tw + 1, 1, tw, 56};
    out.picTopVisible = true;
    out.picLeftVisible = false;
    out.labLineTopVisible = !(flags & kPageNoTopLine);
    out.titleFontHeight = 15;
    out.labBTitle = {20, 9, width - tw - 23, 18};
    out.labSTitle = {44, 27, width - tw - 47, 27};
    out.labSTitleVisible = true;
    out.page = {18, 10, width - 36, height - 122};
  } else {
    const int w2 = width - lw;
    out.labBack1 = {lw, 0, w2, 70};
    out.labBack2 = {lw, 70, w2, height - 114};
    out.hasPicLeft = true;
    out.picLeft = {0, 0, lw, height - 44};
    out.picTop = {w2 - tw + 1, 1, tw, 56};
    out.picTopVisible = false;
    out.picLeftVisible = true;
    out.labSTitleVisible = false;
    out.labLineTopVisible = false;
    out.titleFontHeight = 21;
    out.labBTitle = {12, 16, w2 - 24, 54};
    out.page = {12, 10, w2 - 24, height - 135};
  }
  out.labLineTop = {-2, 59, width + 6, 2};
  out.labLineBottomVisible = !(flags & kPageNoBottomLine);
  return out;
}

}  // namespace cc::win
