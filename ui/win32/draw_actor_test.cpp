#include "ui/win32/draw_actor.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include <cstdlib>

#include "ui/win32/draw_actor_test_images.h"

namespace cc::win {
namespace {

// A 32-bit memory canvas whose pixels can be probed.
class Canvas {
 public:
  Canvas(int width, int height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    RECT all = {0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  Colour At(int x, int y) const { return static_cast<Colour>(GetPixel(dc_, x, y)); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

bool Near(Colour a, Colour b, int tolerance) {
  return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
         std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

BackgroundSpec Spec(BackgroundKind kind) {
  BackgroundSpec spec;
  spec.kind = kind;
  spec.index = static_cast<int>(kind);
  return spec;
}

TEST(DrawActorTest, GradientStripPixelsFollowTheArithmetic) {
  HBITMAP strip = DrawActor::CreateGradientBitmap(nullptr, 0, 16711680, 0, 0, false);
  ASSERT_NE(nullptr, strip);
  BITMAP info = {};
  GetObjectW(strip, sizeof(info), &info);
  EXPECT_EQ(255, info.bmWidth);
  EXPECT_EQ(1, info.bmHeight);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, strip);
  EXPECT_EQ(0u, static_cast<Colour>(GetPixel(dc, 0, 0)));
  EXPECT_EQ(MakeColour(0, 0, 254), static_cast<Colour>(GetPixel(dc, 254, 0)));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(strip);

  HBITMAP column = DrawActor::CreateGradientBitmap(nullptr, 0, 16711680, 10, 100, true);
  ASSERT_NE(nullptr, column);
  GetObjectW(column, sizeof(info), &info);
  EXPECT_EQ(1, info.bmWidth);
  EXPECT_EQ(100, info.bmHeight);
  dc = CreateCompatibleDC(nullptr);
  old = SelectObject(dc, column);
  EXPECT_EQ(0u, static_cast<Colour>(GetPixel(dc, 0, 0)));  // the start colour on top
  EXPECT_EQ(GradientStripPixel(0, 16711680, 99, 100), static_cast<Colour>(GetPixel(dc, 0, 99)));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(column);
}

TEST(DrawActorTest, PaintsEachBackgroundKind) {
  const Colour red = MakeColour(255, 0, 0), blue = MakeColour(0, 0, 255), green = MakeColour(0, 200, 0);
  struct Case {
    const char* name;
    BackgroundKind kind;
    bool vertical;
    // Probes: (x, y) and the expected colour.
    int x1, y1;
    Colour c1;
    int x2, y2;
    Colour c2;
  } cases[] = {
      {"solid", BackgroundKind::kSolid, false, 0, 0, green, 199, 99, green},
      {"horizontal gradient", BackgroundKind::kGradient, false, 0, 50, red, 199, 50, blue},
      {"vertical gradient", BackgroundKind::kGradient, true, 100, 0, red, 100, 99, blue},
      {"themed without styles", BackgroundKind::kThemed, false, 5, 5, green, 150, 90, green},
  };
  for (const Case& c : cases) {
    if (c.kind == BackgroundKind::kThemed && DrawActor::ThemesActive()) continue;
    Canvas canvas(200, 100);
    BackgroundSpec spec = Spec(c.kind);
    spec.color1 = green;
    spec.color2 = red;
    spec.color3 = blue;
    spec.vertical = c.vertical;
    DrawActor actor;
    RECT rect = {0, 0, 200, 100};
    ASSERT_TRUE(actor.PaintBackground(canvas.dc(), rect, spec, nullptr)) << c.name;
    // A gradient of 100 rows ends one step (255 / 100) short of its end colour.
    EXPECT_TRUE(Near(c.c1, canvas.At(c.x1, c.y1), 3)) << c.name << " " << std::hex << canvas.At(c.x1, c.y1);
    EXPECT_TRUE(Near(c.c2, canvas.At(c.x2, c.y2), 3)) << c.name << " " << std::hex << canvas.At(c.x2, c.y2);
  }
}

TEST(DrawActorTest, GradientMiddleIsHalfWay) {
  Canvas canvas(256, 10);
  BackgroundSpec spec = Spec(BackgroundKind::kGradient);
  spec.color2 = 0;
  spec.color3 = MakeColour(255, 255, 255);
  DrawActor actor;
  RECT rect = {0, 0, 256, 10};
  ASSERT_TRUE(actor.PaintBackground(canvas.dc(), rect, spec, nullptr));
  EXPECT_TRUE(Near(MakeColour(128, 128, 128), canvas.At(128, 5), 2)) << std::hex << canvas.At(128, 5);
}

TEST(DrawActorTest, HatchPaintsLinesInTheColourOverTheBackground) {
  Canvas canvas(32, 32);
  SetBkColor(canvas.dc(), RGB(255, 255, 255));
  BackgroundSpec spec = Spec(BackgroundKind::kSolid);
  spec.color1 = MakeColour(0, 0, 255);
  spec.hatch = 5;  // cross hatch (style 4)
  DrawActor actor;
  RECT rect = {0, 0, 32, 32};
  ASSERT_TRUE(actor.PaintBackground(canvas.dc(), rect, spec, nullptr));
  int coloured = 0, plain = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) (canvas.At(x, y) == spec.color1 ? coloured : plain)++;
  EXPECT_GT(coloured, 0);
  EXPECT_GT(plain, coloured);  // lines, not a fill
}

TEST(DrawActorTest, DecodesEachImageFormat) {
  OleInitialize(nullptr);
  struct Case {
    const char* name;
    const unsigned char* bytes;
    size_t size;
    int tolerance;
  } cases[] = {
      {"bmp", kTestImage_bmp, sizeof(kTestImage_bmp), 0},
      {"png", kTestImage_png, sizeof(kTestImage_png), 0},
      {"gif", kTestImage_gif, sizeof(kTestImage_gif), 0},
      {"jpeg", kTestImage_jpg, sizeof(kTestImage_jpg), 40},
  };
  for (const Case& c : cases) {
    HBITMAP image = DrawActor::LoadImageBytes(c.bytes, c.size);
    ASSERT_NE(nullptr, image) << c.name;
    BITMAP info = {};
    GetObjectW(image, sizeof(info), &info);
    EXPECT_EQ(8, info.bmWidth) << c.name;
    EXPECT_EQ(8, info.bmHeight) << c.name;
    // Stretched over 80 x 40: left half red, right half blue.
    Canvas canvas(80, 40);
    BackgroundSpec spec = Spec(BackgroundKind::kImage);
    spec.stretch = true;
    DrawActor actor;
    RECT rect = {0, 0, 80, 40};
    ASSERT_TRUE(actor.PaintBackground(canvas.dc(), rect, spec, image)) << c.name;
    EXPECT_TRUE(Near(MakeColour(255, 0, 0), canvas.At(10, 20), c.tolerance)) << c.name << std::hex << " " << canvas.At(10, 20);
    EXPECT_TRUE(Near(MakeColour(0, 0, 255), canvas.At(70, 20), c.tolerance)) << c.name << std::hex << " " << canvas.At(70, 20);
    DeleteObject(image);
  }
  EXPECT_EQ(nullptr, DrawActor::LoadImageBytes("not a picture", 13));
  EXPECT_EQ(nullptr, DrawActor::LoadImageBytes(nullptr, 0));
  OleUninitialize();
}

TEST(DrawActorTest, TiledImageRepeatsAndMissingImagePaintsTheFirstColour) {
  OleInitialize(nullptr);
  HBITMAP image = DrawActor::LoadImageBytes(kTestImage_bmp, sizeof(kTestImage_bmp));
  ASSERT_NE(nullptr, image);
  Canvas canvas(32, 8);
  BackgroundSpec spec = Spec(BackgroundKind::kImage);
  spec.color1 = MakeColour(0, 200, 0);
  DrawActor actor;
  RECT rect = {0, 0, 32, 8};
  ASSERT_TRUE(actor.PaintBackground(canvas.dc(), rect, spec, image));
  // Tiles of 8: red at 0..3, blue at 4..7, red again at 8..11.
  EXPECT_EQ(MakeColour(255, 0, 0), canvas.At(9, 3));
  EXPECT_EQ(MakeColour(0, 0, 255), canvas.At(13, 3));
  ASSERT_TRUE(actor.PaintBackground(canvas.dc(), rect, spec, nullptr));
  EXPECT_EQ(spec.color1, canvas.At(9, 3));
  DeleteObject(image);
  OleUninitialize();
}

TEST(DrawActorTest, UnchangedKindPaintsNothing) {
  Canvas canvas(4, 4);
  DrawActor actor;
  RECT rect = {0, 0, 4, 4};
  EXPECT_FALSE(actor.PaintBackground(canvas.dc(), rect, Spec(BackgroundKind::kUnchanged), nullptr));
  EXPECT_EQ(MakeColour(255, 255, 255), canvas.At(1, 1));
}

}  // namespace
}  // namespace cc::win

namespace cc::win {
namespace {

TEST(DrawActorTest, ThemedBrushesAreSharedPerHeightClass) {
  DrawActor actor;
  if (!DrawActor::ThemesActive()) {
    EXPECT_EQ(nullptr, actor.GetThemedBrush(300));  // the caller paints the back colour
    return;
  }
  HBRUSH small = actor.GetThemedBrush(100);
  ASSERT_NE(nullptr, small);
  EXPECT_EQ(small, actor.GetThemedBrush(250));
  EXPECT_NE(small, actor.GetThemedBrush(251));
  HBRUSH tall = actor.GetThemedBrush(950);
  EXPECT_EQ(tall, actor.GetThemedBrush(920));
}

}  // namespace
}  // namespace cc::win
