// The attributes of an opening tag in the HTML subset of project texts, and
// the style declarations inside a style attribute, read in one pass into the
// format and alignment they ask for.
//
//   size="N"        (FONT)  font size N * 6 half-points, when N is given
//   color="#RRGGBB" (FONT)  text colour
//   href="..."      (A)     link target, as written
//   align="..."             left, center or right (any case)
//   style="..."             font-size: N (N * 2 half-points); color: #RRGGBB;
//                           background: #RRGGBB (highlight); text-align: ...
//
// A name counts only at the start of a word ("bgcolor" is not "color"); a
// later value overrides an earlier one; a colour that is not exactly
// "#RRGGBB" and an alignment that is none of the three are ignored.
#pragma once

#include <string>
#include <string_view>

namespace cc::win {

// The character format that FONT, SPAN and style declarations set.
struct TextFormat {
  int size = 0;        // half-points
  int color = -1;      // 0xRRGGBB, -1 = none
  int highlight = -1;  // 0xRRGGBB, -1 = none
  bool operator==(const TextFormat&) const = default;
};

enum class TextAlign { kNone, kLeft, kCenter, kRight };

// Which attributes an element takes besides align and style.
enum class AttributeSet { kCommon, kFont, kHref };

struct ElementAttributes {
  std::string href;  // empty when absent or not taken by the element
  TextAlign align = TextAlign::kNone;
};

// Reads `attributes` (the text between the tag's name and its ">"),
// changing in `format` what they set. Never fails: what cannot be read is
// passed over.
ElementAttributes ReadElementAttributes(std::string_view attributes, AttributeSet set,
                                        TextFormat* format);

}  // namespace cc::win
