#include "ui/background.h"

namespace cc::win {
namespace {

Colour ReadColourKey(const KeyArr& config, const Str& key, std::vector<Str>* problems) {
  Str text = config.Get(key);
  Colour c = 0;
  if (text.IsNull() || text.IsEmpty()) return 0;
  Str reason;
  if (!ParseColour(text, &c, &reason)) {
    if (problems) problems->push_back(key + Str(u": ") + reason + Str(u", using 0"));
    return 0;
  }
  return c;
}

}  // namespace

BackgroundSpec ReadBackground(const KeyArr& config, const Str& groupKey,
                              std::vector<Str>* problems) {
  BackgroundSpec spec;
  spec.index = config.GetInt(groupKey + Str(u".Index"), -1);
  spec.kind = (spec.index >= 0 && spec.index <= 3) ? static_cast<BackgroundKind>(spec.index)
                                                   : BackgroundKind::kUnchanged;
  spec.color1 = ReadColourKey(config, groupKey + Str(u".Color1"), problems);
  spec.hatch = config.GetInt(groupKey + Str(u".Cross"), 0);
  if (HatchStyle(spec.hatch) < 0) spec.hatch = 0;
  spec.color2 = ReadColourKey(config, groupKey + Str(u".Color2"), problems);
  spec.color3 = ReadColourKey(config, groupKey + Str(u".Color3"), problems);
  spec.vertical = config.GetBool(groupKey + Str(u".Vertical"), false);
  spec.imgPath = config.Get(groupKey + Str(u".ImgPath"));
  if (spec.imgPath.IsNull()) spec.imgPath = Str(u"");
  spec.stretchValue = config.GetInt(groupKey + Str(u".Stretch"), 0);
  spec.stretch = spec.stretchValue == 1;
  return spec;
}

Str FallBackToSolid(BackgroundSpec* spec) {
  Str line = Str(u"background image '") + spec->imgPath +
             Str(u"' could not be loaded; painting the first colour instead");
  spec->kind = BackgroundKind::kSolid;
  return line;
}

int HatchStyle(int hatch) { return (hatch >= 1 && hatch <= 6) ? hatch - 1 : -1; }

BrushSource ChooseBrush(int mode, bool hasBitmap, int hatch) {
  if (mode == kBackGradient && !hasBitmap) return BrushSource::kGradientStrip;
  if (mode == kBackFixedBrush) return BrushSource::kFixed;
  if (mode == kBackThemed) return BrushSource::kThemed;
  if ((mode == kBackGradient || mode == kBackStretchedImage) && hasBitmap)
    return BrushSource::kStretchPattern;
  return HatchStyle(hatch) >= 0 ? BrushSource::kHatch : BrushSource::kSolid;
}

PaintRole PaintRoleOf(uint32_t style2) {
  if (style2 & kPaintOwnBackground) return PaintRole::kOwn;
  if (style2 & (kPaintTransparent | kPaintTransparentAlt1 | kPaintTransparentAlt2))
    return PaintRole::kTransparent;
  return PaintRole::kSystemDefault;
}

EraseDecision DecideErase(uint32_t style2, const std::vector<uint32_t>& ancestors) {
  switch (PaintRoleOf(style2)) {
    case PaintRole::kOwn:
      return {EraseAction::kFillOwn, -1};
    case PaintRole::kSystemDefault:
      return {EraseAction::kPlatform, -1};
    case PaintRole::kTransparent:
      break;
  }
  for (size_t i = 0; i < ancestors.size(); ++i) {
    PaintRole role = PaintRoleOf(ancestors[i]);
    if (role == PaintRole::kOwn) return {EraseAction::kFillAncestorBrush, static_cast<int>(i)};
    if (role != PaintRole::kTransparent)
      return {EraseAction::kAncestorErases, static_cast<int>(i)};
  }
  return {EraseAction::kPlatform, -1};
}

BrushOrigin AncestorBrushOrigin(int offsetX, int offsetY, bool sunkenEdge) {
  int extra = sunkenEdge ? 2 : 0;
  return {-offsetX - extra, -offsetY - extra};
}

}  // namespace cc::win
