#include "ui/background_plan.h"

namespace cc::win {
namespace {

using Action = BackgroundPlan::Action;

BackgroundPlan PlanGradient(const BackgroundSpec& spec, const BackgroundTarget& target) {
  BackgroundPlan plan;
  plan.setSecond = spec.color2 != target.second;
  plan.second = spec.color2;
  plan.setBack = spec.color3 != target.back;
  plan.back = spec.color3;
  plan.setVertical = spec.vertical != target.vertical;
  plan.vertical = spec.vertical;
  bool changed = plan.setSecond || plan.setBack || plan.setVertical;
  if (!changed && target.mode == kBackGradient) return plan;
  plan.action = Action::kGradient;
  plan.switchMode = true;
  return plan;
}

}  // namespace

BackgroundPlan PlanSolidFallback(const BackgroundSpec& spec, const BackgroundTarget& target,
                                 BackgroundCache* cache) {
  BackgroundPlan plan;
  plan.action = Action::kSolid;
  plan.back = spec.color1;
  plan.setBack = spec.color1 != target.back;
  bool sameHatch = !plan.setBack && spec.hatch == cache->hatch;
  // A hatch lives in fixed-brush mode: switching an unchanged hatched
  // background back to solid would drop its pattern for good.
  bool keepsHatch = sameHatch && spec.hatch > 0 && target.mode == kBackFixedBrush;
  plan.switchMode = !keepsHatch && (plan.setBack || target.mode != kBackSolid);
  if (sameHatch) return plan;
  cache->hatch = spec.hatch;
  plan.hatch = spec.hatch;
  plan.setHatchBrush = spec.hatch > 0;
  return plan;
}

BackgroundPlan PlanBackground(const BackgroundSpec& spec, const BackgroundTarget& target,
                              BackgroundCache* cache) {
  if (spec.index != cache->index) {
    cache->Reset();
    cache->index = spec.index;
  }
  switch (spec.kind) {
    case BackgroundKind::kImage: {
      BackgroundPlan plan;
      if (spec.imgPath.Equals(cache->imgPath) && spec.stretchValue == cache->stretch &&
          target.mode != kBackGradient)
        return plan;
      cache->imgPath = spec.imgPath;
      cache->stretch = spec.stretchValue;
      plan.action = Action::kLoadImage;
      plan.imgPath = spec.imgPath;
      plan.stretch = spec.stretch;
      return plan;
    }
    case BackgroundKind::kThemed: {
      BackgroundPlan plan;
      if (target.mode == kBackThemed) return plan;
      plan.action = Action::kThemed;
      plan.switchMode = true;
      return plan;
    }
    case BackgroundKind::kSolid:
      return PlanSolidFallback(spec, target, cache);
    case BackgroundKind::kGradient:
      return PlanGradient(spec, target);
    case BackgroundKind::kUnchanged:
      break;
  }
  return BackgroundPlan();
}

}  // namespace cc::win
