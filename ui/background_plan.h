// What applying a "BG" group to the form's client area changes, decided
// from the group, the control's current background state and the
// process-wide cache, so that an unchanged group costs nothing.
#pragma once

#include "ui/background.h"

namespace cc::win {

// The target control's background state as the plan needs it.
struct BackgroundTarget {
  int mode = kBackSolid;
  Colour back = 0;
  Colour second = 0;
  bool vertical = false;
};

struct BackgroundPlan {
  enum class Action {
    kNothing,    // leave the control as it is
    kLoadImage,  // load `imgPath`; set it stretched or tiled (owned); on failure run PlanSolidFallback
    kThemed,     // switch to themed mode
    kSolid,      // apply the set* fields below, switch to solid mode when `switchMode`
    kGradient,   // apply the set* fields, switch to gradient mode
  };
  Action action = Action::kNothing;
  bool switchMode = false;
  bool setBack = false;
  Colour back = 0;
  bool setSecond = false;
  Colour second = 0;
  bool setVertical = false;
  bool vertical = false;
  // Give the control a hatch brush of style hatch - 1 in ".Color1" as its
  // fixed brush (owned).
  bool setHatchBrush = false;
  int hatch = 0;
  Str imgPath;
  bool stretch = false;
};

// Decides and updates `cache`. Never fails.
BackgroundPlan PlanBackground(const BackgroundSpec& spec, const BackgroundTarget& target,
                              BackgroundCache* cache);
// The image of a kLoadImage plan did not load: the solid plan in ".Color1".
BackgroundPlan PlanSolidFallback(const BackgroundSpec& spec, const BackgroundTarget& target,
                                 BackgroundCache* cache);

}  // namespace cc::win
