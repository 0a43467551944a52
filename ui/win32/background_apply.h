// Applies a configuration "BG" group (solid, hatch, gradient, image,
// themed) to a control, through the plan that skips unchanged groups.
// Windows flavour only.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "core/key_arr.h"
#include "core/str.h"
#include "ui/background_plan.h"
#include "ui/win32/control.h"

namespace cc::win {

// Decodes a payload image by name; nullptr when it cannot be loaded. The
// caller owns the bitmap.
using ImageLoader = std::function<HBITMAP(const Str& name)>;

// Reads group `groupKey` ("s.c.BG") and changes `target`'s background as
// planned against `cache`. An image that does not load falls back to
// ".Color1" with a line in `problems`; malformed colours are reported
// there too. Returns whether the target's background changed.
bool ApplyBackground(Control* target, const KeyArr& config, const Str& groupKey,
                     BackgroundCache* cache, const ImageLoader& loadImage,
                     std::vector<Str>* problems);

}  // namespace cc::win
