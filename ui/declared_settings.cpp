#include "ui/declared_settings.h"

namespace cc::win {
namespace {

// Splits at commas; an empty text gives no items.
std::vector<Str> SplitCommas(const Str& text) {
  std::vector<Str> items;
  if (text.IsNull() || text.IsEmpty()) return items;
  int start = 0;
  for (;;) {
    int comma = text.IndexOf(u',', start);
    if (comma < 0) {
      items.push_back(text.Substring(start));
      return items;
    }
    items.push_back(text.Substring(start, comma));
    start = comma + 1;
  }
}

bool IsBlank(const Str& item) {
  for (char16_t c : item.View())
    if (c != u' ') return false;
  return true;
}

Str Quoted(const Str& text) { return Str(u"'") + text + Str(u"'"); }

DeclaredPaint ChoosePaint(int flags, const Str& image) {
  if (!(flags & kDeclPaint)) return DeclaredPaint::kNone;
  if (flags & kDeclPaintSolid) return DeclaredPaint::kOwnSolid;
  if (flags & (kDeclPaintHorizontal | kDeclPaintVertical)) return DeclaredPaint::kOwnGradient;
  if (flags & kDeclPaintImage) return image.IsEmpty() ? DeclaredPaint::kNone : DeclaredPaint::kOwnImage;
  return DeclaredPaint::kStopOwn;
}

void ReadChildren(const KeyArr& config, DeclaredSettings* s) {
  Str countKey = s->keyBase + Str(u"._DCtlCount");
  Str countText = config.Get(countKey);
  int count = 0;
  if (!countText.IsNull() && !countText.IsEmpty() && !ParseDecimal(countText, &count)) {
    s->problems.push_back(countKey + Str(u": not a number: ") + Quoted(countText));
    return;
  }
  for (int n = count; n >= 1; --n) {
    Str base = Str::Formatted(u"%s._DCtl%d", s->keyBase.GetBuffer(), n);
    DeclaredChild child;
    child.number = n;
    child.name = config.Get(base + Str(u".Name"));
    child.type = config.Get(base + Str(u".Type"));
    child.cfgName = config.Get(base + Str(u".CfgName"));
    if (child.name.IsNull()) child.name = Str(u"");
    if (child.cfgName.IsEmpty()) child.cfgName = Str(nullptr);
    if (child.type.IsNull() || !IsDeclaredType(child.type)) {
      s->problems.push_back(base + Str(u".Type: unknown control type ") +
                            Quoted(child.type.IsNull() ? Str(u"") : child.type) +
                            Str(u", skipped"));
      continue;
    }
    s->children.push_back(child);
  }
}

}  // namespace

Str KeyComponent(const Str& name, const Str& cfgName) {
  return cfgName.IsNull() ? name : cfgName;
}

bool IsExcludedFromDeclared(const Str& cfgName) { return !cfgName.IsNull() && cfgName.IsEmpty(); }

Str DeclaredKeyBase(const Str& prefix, const Str& component) {
  if (prefix.IsNull() || prefix.IsEmpty()) return component;
  return prefix + Str(u".") + component;
}

bool ParseDeclaredRect(const Str& text, DeclaredRect* out, Str* reason) {
  std::vector<Str> items = SplitCommas(text);
  if (items.size() > 4) {
    if (reason) *reason = Str(u"more than four items in rectangle ") + Quoted(text);
    return false;
  }
  items.resize(4, Str(u""));
  int v[4] = {};
  bool given[4] = {};
  for (int i = 0; i < 4; ++i) {
    if (IsBlank(items[i])) continue;
    if (!ParseDecimal(items[i], &v[i])) {
      if (reason) *reason = Str(u"not a number: ") + Quoted(items[i]) + Str(u" in rectangle ") + Quoted(text);
      return false;
    }
    given[i] = true;
  }
  DeclaredRect r;
  r.hasPosition = given[0] && given[1];
  r.x = v[0];
  r.y = v[1];
  r.hasSize = given[2] && given[3];
  r.width = v[2];
  r.height = v[3];
  *out = r;
  return true;
}

bool ParseDeclaredColours(const Str& text, DeclaredColours* out, std::vector<Str>* problems) {
  std::vector<Str> items = SplitCommas(text);
  if (items.size() > 4 && problems)
    problems->push_back(Str(u"more than four colours in ") + Quoted(text) + Str(u", extra ignored"));
  bool* has[4] = {&out->hasText, &out->hasAccent, &out->hasBack, &out->hasSecond};
  Colour* value[4] = {&out->text, &out->accent, &out->back, &out->second};
  bool any = false;
  for (size_t i = 0; i < items.size() && i < 4; ++i) {
    if (IsBlank(items[i])) continue;
    Str reason;
    if (!ParseColour(items[i], value[i], &reason)) {
      if (problems) problems->push_back(reason + Str(u" in colours ") + Quoted(text));
      continue;
    }
    *has[i] = true;
    any = true;
  }
  return any;
}

bool IsDeclaredType(const Str& type) {
  static const char16_t* const kTypes[] = {u"Label",    u"Button",    u"CheckBox", u"RadioButton",
                                           u"ToolItem", u"LabelLink", u"TextBox"};
  for (const char16_t* t : kTypes)
    if (type.Equals(Str(t))) return true;
  return false;
}

DeclaredSettings ReadDeclared(const KeyArr& config, const Str& keyBase, const Str& textPrefix) {
  DeclaredSettings s;
  s.keyBase = keyBase;
  Str textKey = textPrefix + keyBase;
  s.hasText = config.Has(textKey);
  if (s.hasText) s.text = config.Get(textKey);
  Str flagKey = keyBase + Str(u"._DFlag");
  Str flagText = config.Get(flagKey);
  if (!flagText.IsNull() && !flagText.IsEmpty() && !ParseDecimal(flagText, &s.flags)) {
    s.problems.push_back(flagKey + Str(u": not a number: ") + Quoted(flagText));
    s.flags = 0;
  }
  if (s.flags == 0) return s;
  if (s.flags & kDeclRect) {
    Str rectKey = keyBase + Str(u"._DRect");
    Str reason;
    Str rectText = config.Get(rectKey);
    if (!rectText.IsNull()) {
      s.hasRect = ParseDeclaredRect(rectText, &s.rect, &reason);
      if (!s.hasRect) s.problems.push_back(rectKey + Str(u": ") + reason + Str(u", ignored"));
    }
  }
  if (s.flags & kDeclColour) {
    Str colourKey = keyBase + Str(u"._DColor");
    std::vector<Str> problems;
    s.hasColours = ParseDeclaredColours(config.Get(colourKey), &s.colours, &problems);
    for (const Str& p : problems) s.problems.push_back(colourKey + Str(u": ") + p);
    s.colours.hatch = config.GetInt(keyBase + Str(u"._DCross"), 0);
  }
  Str image = config.Get(keyBase + Str(u"._DFlag_Img"));
  if (image.IsNull()) image = Str(u"");
  s.paint = ChoosePaint(s.flags, image);
  s.vertical = (s.flags & kDeclPaintVertical) != 0;
  if (s.paint == DeclaredPaint::kOwnImage) {
    s.image = image;
    s.stretch = (s.flags & kDeclPaintStretch) != 0;
  }
  if (s.flags & kDeclChildren) ReadChildren(config, &s);
  return s;
}

}  // namespace cc::win
