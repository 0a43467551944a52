#include "ui/win32/wizard_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "runtime/ins_form.h"
#include "ui/win32/app.h"
#include "ui/win32/common_controls.h"

namespace cc::win {
namespace {

// A link control's target reaches the form's link handler, which applies
// the link policy; a form without a handler opens nothing itself.
TEST(WizardFormTest, LinkTargetsGoToTheLinkHandlerOnly) {
  App app;
  FakePlatform platform;
  InsForm logic(platform);
  WizardForm form(logic);
  LabelLink* link = form.PageHost()->Add(std::make_unique<LabelLink>());
  link->SetBounds(10, 10, 120, 17);
  link->SetText(Str(u"Release notes"));
  link->SetLink(Str(u"https://pages.example/notes"));
  ASSERT_TRUE(form.CreateControl());

  std::vector<Str> asked;
  form.SetLinkHandler([&](const Str& target) { asked.push_back(target); });
  SendMessageW(link->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], Str(u"https://pages.example/notes"));

  form.SetLinkHandler({});
  SendMessageW(link->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(asked.size(), 1u);
}

}  // namespace
}  // namespace cc::win
