#include "ui/tri_state.h"

#include <gtest/gtest.h>

#include <string>

namespace cc::win {
namespace {

// root(0) > a(1) > a1(2), a2(3); root > b(4) > b1(5); root > n(6, no box)
// > n1(7); root > d(8, disabled). All start unchecked.
TriStateTree Fixture() {
  TriStateTree t;
  int root = t.Add(-1, kUnchecked);
  int a = t.Add(root, kUnchecked);
  t.Add(a, kUnchecked);
  t.Add(a, kUnchecked);
  int b = t.Add(root, kUnchecked);
  t.Add(b, kUnchecked);
  int n = t.Add(root, kNoCheckBox);
  t.Add(n, kUnchecked);
  t.Add(root, kUnchecked, kItemDisabled);
  return t;
}

std::string States(const TriStateTree& t) {
  std::string s;
  for (int i = 0; i < t.Count(); ++i) s += static_cast<char>('0' + t.Item(i).state);
  return s;
}

TEST(TriStateTree, PropagatesDownAndUp) {
  enum Op { kCheck, kUncheck, kToggle, kRemoveBox, kSet };
  struct Step {
    Op op;
    int index;
    bool result;
    int state = kUnchecked;  // for kSet
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    const char* expected;  // state of items 0..8
  };
  const Case cases[] = {
      {"check a leaf: its parent partly, root partly", {{kCheck, 2, true}}, "332111011"},
      {"check both leaves: parent checked, root still partly",
       {{kCheck, 2, true}, {kCheck, 3, true}},
       "322211011"},
      {"check the root: every box below, not the one without", {{kCheck, 0, true}}, "222222022"},
      {"uncheck a middle item under a checked root",
       {{kCheck, 0, true}, {kUncheck, 1, true}},
       "311122022"},
      {"uncheck everything again", {{kCheck, 2, true}, {kUncheck, 2, true}}, "111111011"},
      {"check every child of the root: root checked",
       {{kCheck, 1, true}, {kCheck, 4, true}, {kCheck, 8, true}},
       "222222012"},
      {"a disabled item refuses a click but not the program",
       {{kToggle, 8, false}, {kCheck, 8, true}},
       "311111012"},
      {"an item without a check box cannot be checked", {{kCheck, 6, false}}, "111111011"},
      {"a leaf under an item without a box stops the walk", {{kCheck, 7, true}}, "111111021"},
      {"toggle twice", {{kToggle, 5, true}, {kToggle, 5, true}}, "111111011"},
      {"a removed check box is skipped by its parent",
       {{kRemoveBox, 3, true}, {kCheck, 2, true}},
       "322011011"},
      {"a state set alone changes no other item", {{kSet, 2, true, kPartlyChecked}}, "113111011"},
      {"a set state needs a box and a real state",
       {{kSet, 6, false, kChecked}, {kSet, 1, false, 7}, {kSet, 9, false, kChecked}},
       "111111011"},
  };
  for (const Case& c : cases) {
    TriStateTree t = Fixture();
    for (const Step& s : c.steps) {
      bool got = s.op == kCheck      ? t.SetChecked(s.index, true)
                 : s.op == kUncheck  ? t.SetChecked(s.index, false)
                 : s.op == kToggle   ? t.Toggle(s.index)
                 : s.op == kSet      ? t.SetState(s.index, s.state)
                                     : t.SetHasCheckBox(s.index, false);
      EXPECT_EQ(got, s.result) << c.what << ", item " << s.index;
    }
    EXPECT_EQ(States(t), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace cc::win
