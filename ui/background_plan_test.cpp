#include "ui/background_plan.h"

#include <gtest/gtest.h>

namespace cc::win {
namespace {

using Action = BackgroundPlan::Action;

BackgroundSpec Group(int index) {
  BackgroundSpec spec;
  spec.index = index;
  spec.kind = (index >= 0 && index <= 3) ? static_cast<BackgroundKind>(index) : BackgroundKind::kUnchanged;
  return spec;
}

BackgroundSpec Image(const char16_t* path, int stretch) {
  BackgroundSpec spec = Group(2);
  spec.imgPath = Str(path);
  spec.stretchValue = stretch;
  spec.stretch = stretch == 1;
  return spec;
}

BackgroundSpec Solid(Colour c, int hatch) {
  BackgroundSpec spec = Group(0);
  spec.color1 = c;
  spec.hatch = hatch;
  return spec;
}

// Each row is one page applied after the previous row, on one control and
// one cache, so a row shows what the earlier ones left behind.
TEST(BackgroundPlanTest, SequenceOfPages) {
  struct Step {
    const char* what;
    BackgroundSpec spec;
    BackgroundTarget target;
    Action action;
    bool switchMode, setBack, setHatchBrush;
  } steps[] = {
      {"first image", Image(u"a.jpg", 1), {kBackSolid}, Action::kLoadImage, false, false, false},
      {"same image again", Image(u"a.jpg", 1), {kBackStretchedImage}, Action::kNothing, false, false, false},
      {"same image, now tiled", Image(u"a.jpg", 0), {kBackStretchedImage}, Action::kLoadImage, false, false, false},
      {"same image over a gradient", Image(u"a.jpg", 0), {kBackGradient}, Action::kLoadImage, false, false, false},
      {"solid new colour", Solid(255, 0), {kBackFixedBrush, 0}, Action::kSolid, true, true, false},
      {"solid unchanged", Solid(255, 0), {kBackSolid, 255}, Action::kSolid, false, false, false},
      {"hatch added", Solid(255, 2), {kBackSolid, 255}, Action::kSolid, false, false, true},
      // The hatch brush stays: switching to solid here would lose the pattern.
      {"hatch unchanged", Solid(255, 2), {kBackFixedBrush, 255}, Action::kSolid, false, false, false},
      {"hatch removed", Solid(255, 0), {kBackFixedBrush, 255}, Action::kSolid, true, false, false},
      {"themed", Group(3), {kBackSolid}, Action::kThemed, true, false, false},
      {"themed again", Group(3), {kBackThemed}, Action::kNothing, false, false, false},
      {"index -1", Group(-1), {kBackThemed}, Action::kNothing, false, false, false},
      {"image after other groups reloads", Image(u"a.jpg", 0), {kBackThemed}, Action::kLoadImage, false, false, false},
  };
  BackgroundCache cache;
  for (const Step& s : steps) {
    BackgroundPlan plan = PlanBackground(s.spec, s.target, &cache);
    EXPECT_EQ(s.action, plan.action) << s.what;
    EXPECT_EQ(s.switchMode, plan.switchMode) << s.what;
    EXPECT_EQ(s.setBack, plan.setBack) << s.what;
    EXPECT_EQ(s.setHatchBrush, plan.setHatchBrush) << s.what;
  }
}

TEST(BackgroundPlanTest, GradientChangesOnlyWhatDiffers) {
  BackgroundSpec spec = Group(1);
  spec.color2 = 1;
  spec.color3 = 2;
  spec.vertical = true;
  BackgroundCache cache;
  BackgroundPlan same = PlanBackground(spec, {kBackGradient, 2, 1, true}, &cache);
  EXPECT_EQ(Action::kNothing, same.action);
  BackgroundPlan fromSolid = PlanBackground(spec, {kBackSolid, 2, 1, true}, &cache);
  EXPECT_EQ(Action::kGradient, fromSolid.action);
  EXPECT_FALSE(fromSolid.setBack || fromSolid.setSecond || fromSolid.setVertical);
  BackgroundPlan flipped = PlanBackground(spec, {kBackGradient, 2, 5, false}, &cache);
  EXPECT_EQ(Action::kGradient, flipped.action);
  EXPECT_TRUE(flipped.setSecond && flipped.setVertical && !flipped.setBack);
}

TEST(BackgroundPlanTest, FailedImageFallsBackToTheFirstColour) {
  BackgroundSpec spec = Image(u"gone.png", 1);
  spec.color1 = 255;
  BackgroundCache cache;
  ASSERT_EQ(Action::kLoadImage, PlanBackground(spec, {kBackSolid, 0}, &cache).action);
  BackgroundPlan plan = PlanSolidFallback(spec, {kBackSolid, 0}, &cache);
  EXPECT_EQ(Action::kSolid, plan.action);
  EXPECT_TRUE(plan.setBack);
  EXPECT_EQ(255u, plan.back);
}

}  // namespace
}  // namespace cc::win
