#include "ui/win32/background_apply.h"

#include "ui/win32/draw_actor.h"

namespace cc::win {
namespace {

using Action = BackgroundPlan::Action;

BackgroundTarget TargetOf(const Control* control) {
  BackgroundTarget t;
  uint32_t mode = control->BackgroundModeOf();
  t.mode = mode == 0 ? kBackSolid : static_cast<int>(mode);
  t.back = control->BackColor();
  t.second = control->SecondColor();
  t.vertical = control->HasStyle(kStyleState, kStateVerticalGradient);
  return t;
}

void ApplyColours(Control* target, const BackgroundPlan& plan) {
  if (plan.setSecond) target->SetSecondColor(plan.second);
  if (plan.setBack) target->SetBackColor(plan.back);
}

void Execute(Control* target, const BackgroundPlan& plan) {
  switch (plan.action) {
    case Action::kThemed:
      target->SetBackgroundMode(kBackThemed);
      break;
    case Action::kGradient:
      ApplyColours(target, plan);
      target->SetGradient(plan.setVertical ? plan.vertical
                                           : target->HasStyle(kStyleState, kStateVerticalGradient));
      break;
    case Action::kSolid:
      ApplyColours(target, plan);
      if (plan.switchMode) target->SetBackgroundMode(kBackSolid);
      if (plan.setHatchBrush) target->SetFixedBrush(DrawActor::CreateBackBrush(plan.back, plan.hatch), true);
      break;
    case Action::kNothing:
    case Action::kLoadImage:
      break;
  }
}

}  // namespace

bool ApplyBackground(Control* target, const KeyArr& config, const Str& groupKey,
                     BackgroundCache* cache, const ImageLoader& loadImage,
                     std::vector<Str>* problems) {
  BackgroundSpec spec = ReadBackground(config, groupKey, problems);
  BackgroundPlan plan = PlanBackground(spec, TargetOf(target), cache);
  if (plan.action == Action::kNothing) return false;
  if (plan.action == Action::kLoadImage) {
    HBITMAP bitmap = loadImage ? loadImage(plan.imgPath) : nullptr;
    if (bitmap != nullptr) {
      if (plan.stretch) {
        target->SetStretchedImage(bitmap, true);
      } else {
        target->SetFixedBrush(DrawActor::CreateStretchedPatternBrush(bitmap, 0, 0), true);
        DeleteObject(bitmap);
      }
      return true;
    }
    BackgroundSpec fallback = spec;
    Str line = FallBackToSolid(&fallback);
    if (problems != nullptr) problems->push_back(line);
    plan = PlanSolidFallback(spec, TargetOf(target), cache);
  }
  Execute(target, plan);
  return true;
}

}  // namespace cc::win
