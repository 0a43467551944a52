#include "wizard/navigator.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "wizard/page_ids.h"

namespace {

using wizard::NavResult;
using wizard::Navigator;
using wizard::PageSlot;

// Records what the navigator asks of the window side.
class FakeHost : public wizard::PageHost {
 public:
  bool CanLeave(int typeId, int direction) override {
    return refuse.count(typeId * direction) == 0;
  }
  void HidePage(int typeId) override { hidden.push_back(typeId); }
  void ShowPage(const PageSlot& slot, int mode) override {
    shown.push_back(slot.typeId);
    modes.push_back(mode);
    keyBases.push_back(slot.keyBase.ToUtf8());
  }
  void ShowNoPages() override { noPages = true; }
  void EndWizard() override { ended = true; }
  void Log(const cc::Str& line) override { log.push_back(line.ToUtf8()); }

  std::set<int> refuse;  // typeId * direction
  std::vector<int> hidden, shown, modes;
  std::vector<std::string> keyBases, log;
  bool noPages = false;
  bool ended = false;
};

class NavigatorTest : public ::testing::Test {
 protected:
  // Positions 0.. show items `items` in order; item n has id ids[n].
  void Sequence(const std::vector<int>& ids) {
    for (size_t p = 0; p < ids.size(); ++p) {
      int item = static_cast<int>(p) + 3;  // item numbers differ from positions
      config_.SetInt(cc::Str::Formatted(u"s.p.Page%d.IdDiff", static_cast<int>(p)), item);
      config_.SetInt(cc::Str::Formatted(u"s.p.p%d.Id", item), ids[p]);
    }
  }

  cc::KeyArr config_{false, true};
  FakeHost host_;
  Navigator nav_{config_, host_};
};

TEST_F(NavigatorTest, NextWalksTheSequenceAndEndsPastTheLastPage) {
  Sequence({101, 108, 113});
  EXPECT_EQ(nav_.GoNext(), NavResult::kShown);
  EXPECT_EQ(nav_.CurrentKeyBase().ToUtf8(), "s.p.p3");
  EXPECT_EQ(nav_.GoNext(), NavResult::kShown);
  EXPECT_EQ(nav_.GoNext(), NavResult::kShown);
  EXPECT_EQ(nav_.GoNext(), NavResult::kFinished);
  EXPECT_TRUE(host_.ended);
  EXPECT_FALSE(nav_.EndedOnInvalidPage());
  EXPECT_EQ(host_.shown, (std::vector<int>{101, 108, 113}));
  EXPECT_EQ(host_.hidden, (std::vector<int>{101, 108, 113}));
}

TEST_F(NavigatorTest, HiddenCustomizePageIsSkippedOneStepBothWays) {
  Sequence({104, 105, 108});
  config_.SetBool(u"Ret.Customize.Show", false);
  nav_.GoNext();
  nav_.GoNext();
  EXPECT_EQ(nav_.CurrentPage(), 108);
  EXPECT_EQ(nav_.Position(), 2);
  nav_.GoBack();
  EXPECT_EQ(nav_.CurrentPage(), 104);
  EXPECT_EQ(nav_.Position(), 0);
  EXPECT_EQ(host_.modes.back(), -1);

  config_.SetBool(u"Ret.Customize.Show", true);
  nav_.GoNext();
  EXPECT_EQ(nav_.CurrentPage(), 105);
}

TEST_F(NavigatorTest, HiddenCustomizePageFirstKeepsThePageOnBack) {
  Sequence({105, 108});
  config_.SetBool(u"Ret.Customize.Show", false);
  nav_.GoNext();
  ASSERT_EQ(nav_.CurrentPage(), 108);
  EXPECT_EQ(nav_.GoBack(), NavResult::kStayed);
  EXPECT_EQ(nav_.CurrentPage(), 108);
  EXPECT_FALSE(host_.ended);
}

TEST_F(NavigatorTest, RefusedLeaveKeepsThePage) {
  Sequence({108, 109, 111});
  host_.refuse = {108 * +1, 109 * -1};
  nav_.GoNext();
  EXPECT_EQ(nav_.GoNext(), NavResult::kStayed);
  EXPECT_EQ(nav_.CurrentPage(), 108);
  EXPECT_TRUE(host_.hidden.empty());

  host_.refuse = {109 * -1};
  nav_.GoNext();
  EXPECT_EQ(nav_.GoBack(), NavResult::kStayed);
  EXPECT_EQ(nav_.CurrentPage(), 109);
}

TEST_F(NavigatorTest, BackAtTheFirstPageDoesNothing) {
  Sequence({101, 108});
  nav_.GoNext();
  EXPECT_EQ(nav_.GoBack(), NavResult::kStayed);
  EXPECT_EQ(nav_.Position(), 0);
  EXPECT_TRUE(host_.hidden.empty());
}

TEST_F(NavigatorTest, EmptySequenceShowsTheErrorAndDoesNotEnd) {
  EXPECT_EQ(nav_.GoNext(), NavResult::kNoPages);
  EXPECT_TRUE(host_.noPages);
  EXPECT_FALSE(host_.ended);
  EXPECT_TRUE(nav_.InErrorState());
}

TEST_F(NavigatorTest, InvalidIdEndsTheWizardAndIsLogged) {
  struct Case {
    std::vector<int> ids;
    int nexts;
    NavResult last;
  };
  const Case cases[] = {
      {{101, 107, 113}, 2, NavResult::kInvalidPage},  // no class for 107
      {{101, 99}, 2, NavResult::kInvalidPage},        // outside the range
      {{101, 129}, 2, NavResult::kInvalidPage},
      {{107, 113}, 1, NavResult::kNoPages},           // nothing to show at all
  };
  for (const Case& c : cases) {
    cc::KeyArr config{false, true};
    FakeHost host;
    Navigator nav{config, host};
    for (size_t p = 0; p < c.ids.size(); ++p) {
      config.SetInt(cc::Str::Formatted(u"s.p.Page%d.IdDiff", static_cast<int>(p)), static_cast<int>(p));
      config.SetInt(cc::Str::Formatted(u"s.p.p%d.Id", static_cast<int>(p)), c.ids[p]);
    }
    NavResult result = NavResult::kStayed;
    for (int i = 0; i < c.nexts; ++i) result = nav.GoNext();
    EXPECT_EQ(result, c.last) << c.ids[1];
    EXPECT_TRUE(nav.EndedOnInvalidPage());
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_NE(host.log[0].find("no page"), std::string::npos);
  }
}

TEST_F(NavigatorTest, ErrorStateCutsTheSequence) {
  Sequence({108, 111, 112, 113});
  nav_.GoNext();
  nav_.GoNext();
  nav_.GoNext();
  nav_.EnterErrorState();
  EXPECT_TRUE(nav_.InErrorState());
  EXPECT_EQ(nav_.GoNext(), NavResult::kFinished);
  EXPECT_EQ(host_.shown.back(), 112);
}

TEST(PageFlagsTest, DefaultsAddedOnlyWithoutLayoutBits) {
  struct Case {
    int typeId;
    const char16_t* stored;  // null: no ".Flags"
    int expected;
  };
  const Case cases[] = {
      {108, nullptr, 0x700100}, {100, nullptr, 0x82},      {113, nullptr, 0x800091},
      {112, u"4", 0x114},       {109, u"256", 0x100},      {101, u"1", 0x30000081},
      {105, u"0", 0x300100},
  };
  for (const Case& c : cases) {
    cc::KeyArr config{false, true};
    if (c.stored) config.Set(u"s.p.p7.Flags", c.stored);
    EXPECT_EQ(static_cast<int>(wizard::ApplyDefaultFlags(config, c.typeId, u"s.p.p7")), c.expected)
        << c.typeId;
    EXPECT_EQ(config.GetInt(u"s.p.p7.Flags", -1), c.expected);
  }
}

}  // namespace
