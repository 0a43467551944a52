#include <gtest/gtest.h>

#include <memory>

#include "ui/win32/app.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/form.h"

namespace cc::win {
namespace {

// The width a clipped item covers: its window region's right edge, 0 for an
// empty region, -1 when it has none (it covers its whole box).
int CoveredWidth(HWND window) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  int kind = GetWindowRgn(window, region);
  RECT box = {};
  GetRgnBox(region, &box);
  DeleteObject(region);
  if (kind == ERROR) return -1;
  return kind == NULLREGION ? 0 : box.right;
}

// A credit text clipped to its text covers what its text needs, follows a
// text change (made before or after the window exists), covers nothing
// when empty, keeps its bounds, and covers its whole box again unclipped.
TEST(ToolItemTest, ClipToTextFollowsTheText) {
  App app;
  Form form;
  form.SetClientSize(300, 100);
  ToolItem* item = form.Add(std::make_unique<ToolItem>());
  item->SetBounds(4, 40, 200, 17);
  item->SetText(Str(u"Velmora"));
  item->SetClipToText(true);
  ASSERT_TRUE(form.CreateControl());
  HWND window = item->Handle();

  int shortWidth = CoveredWidth(window);
  EXPECT_GT(shortWidth, 0);
  EXPECT_LT(shortWidth, 200);
  item->SetText(Str(u"Velmora, packed for a much longer credit"));
  int longWidth = CoveredWidth(window);
  EXPECT_GT(longWidth, shortWidth);
  EXPECT_LE(longWidth, 200);
  item->SetText(Str(u""));
  EXPECT_EQ(CoveredWidth(window), 0);

  RECT rect;
  GetClientRect(window, &rect);
  EXPECT_EQ(rect.right, 200);
  EXPECT_EQ(rect.bottom, 17);

  item->SetClipToText(false);
  EXPECT_EQ(CoveredWidth(window), -1);
}

}  // namespace
}  // namespace cc::win
