// The background model of the window toolkit in plain data: the reader of
// a configuration "BG" group, the choice of brush for a control's state and
// the erase rule (who paints a control's background). No window calls here;
// ui/win32/draw_actor.h paints what these decide.
#pragma once

#include <vector>

#include "core/key_arr.h"
#include "core/str.h"
#include "ui/colour.h"

namespace cc::win {

// Background modes (bits of style word 3; exactly one is set at a time).
enum BackgroundMode : int {
  kBackSolid = 1,
  kBackFixedBrush = 2,
  kBackStretchedImage = 4,
  kBackThemed = 8,
  kBackGradient = 16,
};

// Painting participation bits of style word 2.
enum PaintBits : uint32_t {
  kPaintOwnBackground = 0x2000,
  kPaintTransparent = 0x40000,
  kPaintTransparentAlt1 = 0x8000,
  kPaintTransparentAlt2 = 0x10000,
  kPaintSystemErase = 0x20000,
};

// Values of a "BG" group's ".Index".
enum class BackgroundKind { kUnchanged = -1, kSolid = 0, kGradient = 1, kImage = 2, kThemed = 3 };

// One "BG" group as read from the configuration (defaults where a key is
// missing). `hatch` is the ".Cross" value when it is 1 to 6, else 0.
struct BackgroundSpec {
  BackgroundKind kind = BackgroundKind::kUnchanged;
  int index = -1;  // the raw ".Index"
  Colour color1 = 0;
  int hatch = 0;
  Colour color2 = 0;  // gradient start
  Colour color3 = 0;  // gradient end
  bool vertical = false;
  Str imgPath;
  bool stretch = false;  // ".Stretch" == 1
  int stretchValue = 0;  // the raw ".Stretch"
};

// Reads group `groupKey` (for example "s.c.BG"). Never fails: a malformed
// colour keeps its default 0 and adds a line to `problems` (when given)
// naming the key and the text; an index outside -1..3 reads as kUnchanged.
BackgroundSpec ReadBackground(const KeyArr& config, const Str& groupKey,
                              std::vector<Str>* problems = nullptr);

// The image of an index-2 group could not be loaded: the description turns into a
// solid one in ".Color1" (hatch kept). Returns the log line to write.
Str FallBackToSolid(BackgroundSpec* spec);

// Hatch value 1..6 selects a pattern; anything else none. Returns the
// platform hatch style (value - 1) or -1 for none.
int HatchStyle(int hatch);

// What a control's brush is built from, given its state.
enum class BrushSource {
  kGradientStrip,   // gradient without a bitmap: build the strip first, then kStretchPattern
  kFixed,           // fixed-brush mode: the stored brush unchanged
  kThemed,          // the shared themed brush (none when visual styles are off)
  kStretchPattern,  // gradient or stretched image: bitmap stretched to the client size
  kHatch,           // hatch brush in the back colour
  kSolid,           // solid brush in the back colour
};
BrushSource ChooseBrush(int mode, bool hasBitmap, int hatch);

// Painting participation read from style word 2.
enum class PaintRole { kOwn, kTransparent, kSystemDefault };
PaintRole PaintRoleOf(uint32_t style2);

// How a control's erase request is served.
enum class EraseAction {
  kFillOwn,             // fill the client area with its own brush (minus visible children)
  kFillAncestorBrush,   // fill with ancestor `ancestor`'s brush, origin shifted
  kAncestorErases,      // shift the origin and let ancestor `ancestor` erase
  kPlatform,            // leave it to the platform
};
struct EraseDecision {
  EraseAction action = EraseAction::kPlatform;
  int ancestor = -1;  // index into the ancestor list, -1 when none
};
// `ancestors` are the style-2 words of the parent, grandparent, ... in that
// order.
EraseDecision DecideErase(uint32_t style2, const std::vector<uint32_t>& ancestors);

// Brush origin for filling a control with an ancestor's brush so that the
// pattern continues: minus the control's offset inside the ancestor, and 2
// more pixels each way with a sunken client edge.
struct BrushOrigin {
  int x = 0;
  int y = 0;
};
BrushOrigin AncestorBrushOrigin(int offsetX, int offsetY, bool sunkenEdge);

// Process-wide memory of the last applied "BG" group, so an unchanged group
// costs nothing.
struct BackgroundCache {
  int index = -1;
  Str imgPath;
  int stretch = -1;
  int hatch = -1;
  void Reset() { *this = BackgroundCache(); }
};

}  // namespace cc::win
