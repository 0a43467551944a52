// Colour values of the window toolkit: 32-bit colour references (red in the
// lowest byte, then green, then blue, top byte 0), their parsing from the
// configuration's decimal text, and the arithmetic of gradient strips.
#pragma once

#include <cstdint>

#include "core/str.h"

namespace cc::win {

using Colour = uint32_t;

constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr Colour MakeColour(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Reads a decimal integer (surrounding spaces allowed, optional '-').
// Returns false for empty text, any other character or overflow.
bool ParseDecimal(const Str& text, int* out);

// Reads a colour stored as a decimal integer from 0 to 16777215. Returns
// false and fills `reason` (when given) for anything else; `out` is then
// untouched.
bool ParseColour(const Str& text, Colour* out, Str* reason);

// Number of steps of a gradient from `a` to `b`: the largest channel
// difference, at least 1.
int GradientSteps(Colour a, Colour b);

// Length of the one-pixel strip: the steps, limited by the height (vertical)
// or width when both sizes are at least 1.
int GradientStripLength(Colour a, Colour b, int width, int height, bool vertical);

// Pixel `i` (0 .. length-1) of a strip of `length` pixels: each channel is
// a + trunc(i * (b - a) / length), so the last pixel stops one step short of b.
Colour GradientStripPixel(Colour a, Colour b, int i, int length);

// Each channel scaled by (255 - amount) / 255; amount is clamped to 0..255.
Colour DarkenColour(Colour c, int amount);

}  // namespace cc::win
