// cc::win::DrawActor: the GDI side of the background painter. It paints a
// BackgroundSpec into a device context, builds gradient strips and pattern
// brushes, caches the themed background brushes in five height classes and
// decodes images into bitmaps. Windows flavour only.
#pragma once

#include <windows.h>

#include <cstddef>

#include "core/object.h"
#include "ui/background.h"
#include "ui/colour.h"

namespace cc::win {

class DrawActor : public Object {
 public:
  DrawActor();
  ~DrawActor() override;
  const char16_t* ClassName() const override { return u"DrawActor"; }

  // A 1 x L (vertical) or L x 1 strip from `a` to `b` (see
  // GradientStripLength). Returns nullptr when the bitmap cannot be made.
  // The caller owns the result.
  static HBITMAP CreateGradientBitmap(HDC dc, Colour a, Colour b, int width, int height,
                                      bool vertical);
  // Stretches a fresh strip over `rect`. Returns false when GDI fails.
  static bool PaintGradient(HDC dc, const RECT& rect, Colour a, Colour b, bool vertical);

  // Paints `spec` over `rect`. `image` is the decoded ".ImgPath" bitmap for
  // kImage (not owned; nullptr paints ".Color1" instead). kThemed without
  // visual styles paints ".Color1". kUnchanged paints nothing and returns
  // false; GDI failures return false.
  bool PaintBackground(HDC dc, const RECT& rect, const BackgroundSpec& spec, HBITMAP image);

  // The shared themed brush for a client of `height` pixels, or nullptr when
  // visual styles are off. Owned by the DrawActor (do not delete).
  HBRUSH GetThemedBrush(int height);
  // True when the visual-style tab background can be painted.
  static bool ThemesActive();
  // Paints the visual-style "TAB" background (part 10, state 0) into
  // `rect`; false when visual styles are off.
  static bool PaintThemeBackground(HDC dc, const RECT& rect);

  // A pattern brush of `bitmap` stretched to width x height (tiled when
  // either is below 1: the bitmap as it is). Caller owns it; nullptr on failure.
  static HBRUSH CreateStretchedPatternBrush(HBITMAP bitmap, int width, int height);
  // A hatch brush of style hatch - 1 for hatch 1..6, else a solid brush, in
  // `colour`. Caller owns it; nullptr on failure.
  static HBRUSH CreateBackBrush(Colour colour, int hatch);

  // Decodes BMP, JPEG, GIF, PNG, ICO, WMF or EMF bytes into a
  // device-dependent bitmap the caller owns; nullptr when the bytes cannot
  // be decoded.
  static HBITMAP LoadImageBytes(const void* bytes, size_t size);

 private:
  static constexpr int kThemedClasses = 5;
  HBRUSH themed_[kThemedClasses] = {};
  int tallestHeight_ = 0;  // height of the fifth, open-ended class
};

}  // namespace cc::win
