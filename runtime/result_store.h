// The initial values of the result keys ("Ret." family) that the pages, the
// start-up code and the install driver exchange through the configuration
// store, and the walk over the component tree that computes the checked
// components, their summary text and the space they need.
#pragma once

#include <cstdint>

#include "core/key_arr.h"
#include "core/str.h"

class Platform;

// The shortcut locations 0 to 7, in flag-bit order.
inline constexpr int kShortcutLocationCount = 8;
extern const char16_t* const kShortcutLocationNames[kShortcutLocationCount];

// Walks the children of item `itemIndex` ("s.f.%d.Item", item 0 is the
// root) in the component tree. For every checkable component (kind 2) it
// decides and stores "Ret.Customize.Checked%d"; a checked one is counted,
// its name in `langCode` is appended to `text` after `indent` (with
// "\r\n"), and unless it is a group ("s.f.%d.Item.HasSubGroup") its
// "s.f.%d.Item.Size" is added to `totalSize`. `firstUnchecked` receives the
// first unchecked component when it is still -1. `typeIndex` is the setup
// type whose two state bits decide (-1: no setup type; then bit 30 set and
// bit 31 clear decide). Children are walked with four more spaces of indent,
// except those of a file (kind 5). On return `itemIndex` is the last item
// taken, so that the caller continues after it.
void WalkComponents(cc::KeyArr& store, const cc::Str& langCode, int typeIndex, int& itemIndex,
                    cc::Str& text, const cc::Str& indent, int64_t& totalSize, int& checkedCount,
                    int& firstUnchecked);

// Stores the initial results once the language `langCode` is chosen:
// "Ret.Location.AllUser", "Ret.Dir.App" and "Ret.Location.Path" (the
// application folder from "s.i.Comp.editAppTxt" and "s.i.Comp.editAppDir"),
// "Ret.Menu.InitPath" and "Ret.Menu.Path", "Ret.Customize.Show", the
// default setup type ("Ret.Content.Index", "Ret.Content.Text"), the checked
// components (at least one when any is checkable), "Ret.Customize.Text",
// "Ret.Location.Required" and "Ret.Shortcut.chkShort%d_%d".
void ComputeInitialResults(cc::KeyArr& store, const cc::Str& langCode, Platform& platform);
