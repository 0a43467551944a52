// Declared settings of one control, read from the configuration under its
// key base: text, "._DFlag" bits, rectangle, colours, painting and the
// declared child controls. Plain data; the toolkit applies it.
#pragma once

#include <vector>

#include "core/key_arr.h"
#include "core/str.h"
#include "ui/colour.h"

namespace cc::win {

enum DeclaredFlag : int {
  kDeclRect = 0x1,
  kDeclColour = 0x2,
  kDeclChildren = 0x8,
  kDeclPaint = 0x100,
  kDeclPaintSolid = 0x200,
  kDeclPaintHorizontal = 0x400,
  kDeclPaintVertical = 0x800,
  kDeclPaintImage = 0x1000,
  kDeclPaintStretch = 0x2000,
};

// A "._DRect" value x,y,w,h; each pair applies only when both are given.
struct DeclaredRect {
  bool hasPosition = false;
  int x = 0, y = 0;
  bool hasSize = false;
  int width = 0, height = 0;
};

// A "._DColor" value: text, accent, back (with the hatch of "._DCross"),
// second colour; an empty or malformed item leaves that colour alone.
struct DeclaredColours {
  bool hasText = false, hasAccent = false, hasBack = false, hasSecond = false;
  Colour text = 0, accent = 0, back = 0, second = 0;
  int hatch = 0;  // the raw "._DCross", set with the back colour
};

enum class DeclaredPaint {
  kNone,          // bit 0x100 absent
  kStopOwn,       // 0x100 alone: solid mode, stop painting its own background
  kOwnSolid,      // 0x200
  kOwnGradient,   // 0x400 / 0x800 (vertical when 0x800)
  kOwnImage,      // 0x1000 with a non-empty image name
};

struct DeclaredChild {
  int number = 0;  // n of "._DCtl%d"
  Str name;
  Str type;
  Str cfgName;  // null when absent or empty
};

struct DeclaredSettings {
  Str keyBase;
  bool hasText = false;  // the text key exists (an empty value counts)
  Str text;
  int flags = 0;
  bool hasRect = false;
  DeclaredRect rect;
  bool hasColours = false;
  DeclaredColours colours;
  DeclaredPaint paint = DeclaredPaint::kNone;
  bool vertical = false;
  Str image;             // "._DFlag_Img" for kOwnImage
  bool stretch = false;  // 0x2000 for kOwnImage
  // Children in creation order: count, count-1, ..., 1. Entries with an
  // unknown type are left out (with a problem line).
  std::vector<DeclaredChild> children;
  // Log lines for everything ignored (malformed rectangle, colour, count).
  std::vector<Str> problems;
};

// The key component of a control: its configuration name when set (not
// null), else its name.
Str KeyComponent(const Str& name, const Str& cfgName);
// A configuration name set to "" excludes the control (not its children).
bool IsExcludedFromDeclared(const Str& cfgName);
// prefix + "." + component, or the component alone for an empty prefix.
Str DeclaredKeyBase(const Str& prefix, const Str& component);

// Parses "x,y,w,h" (missing items allowed: "10,20", ",,100,30"). Returns
// false with `reason` for a non-number item or more than four items; `out`
// is then untouched.
bool ParseDeclaredRect(const Str& text, DeclaredRect* out, Str* reason);
// Parses up to four comma-separated colours. Malformed items are skipped
// and each adds a line to `problems`; returns whether any colour was set.
bool ParseDeclaredColours(const Str& text, DeclaredColours* out, std::vector<Str>* problems);
// The declared types that create a control ("Label", "Button", "CheckBox",
// "RadioButton", "ToolItem", "LabelLink", "TextBox"; case-sensitive).
bool IsDeclaredType(const Str& type);

// Reads every declared key under `keyBase`; `textPrefix` is the language
// code + "." for the text key. Never fails: what is malformed is left out
// and described in `problems`. A flag word of 0 reads nothing but the text.
DeclaredSettings ReadDeclared(const KeyArr& config, const Str& keyBase, const Str& textPrefix);

}  // namespace cc::win
