// Applies the configuration's declared settings (text, rectangle, colours,
// background, extra child controls) to a control tree, deriving each
// control's key from its name and its ancestors' names. Windows flavour
// only.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "core/key_arr.h"
#include "core/str.h"
#include "ui/declared_settings.h"
#include "ui/win32/control.h"

namespace cc::win {

// Text of a freshly created declared control until a declared text replaces it.
inline constexpr const char16_t kDynamicControlText[] = u"Dynamic Control";

struct DeclaredContext {
  const KeyArr* config = nullptr;
  // Language code + "." qualifying the text keys.
  Str textPrefix;
  // When set, hidden siblings of this control (the pages not shown) are
  // skipped with their subtrees.
  Control* stop = nullptr;
  // Decodes a payload image by name; nullptr when it cannot be loaded. The
  // caller of the loader owns the bitmap. Without a loader images are skipped.
  std::function<HBITMAP(const Str& name)> loadImage;
  // Fired when a declared child control is clicked.
  std::function<void(Control* clicked)> onDeclaredClick;
  // Receives one line per ignored setting (malformed value, missing image).
  std::vector<Str>* problems = nullptr;
};

// Applies the settings under `prefix` to `control` and, recursively, to its
// children (last to first). Creates declared children once: a later call
// finds them by name and creates nothing. Never fails; what cannot be
// applied is described in `context.problems`.
void ApplyDeclared(Control* control, const Str& prefix, const DeclaredContext& context);

// Moves and/or resizes `control` by `rect` (a size clears the layout-size
// bit of painting word 2).
void ApplyDeclaredRect(Control* control, const DeclaredRect& rect);

}  // namespace cc::win
