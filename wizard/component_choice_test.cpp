#include "wizard/component_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Types 0 "Minimal", 2 "Full", 5 "Custom" (numbers with gaps). Items:
// 1 Core (locked, in every type), 2 a folder under Core, 3 a file, 4 Extras
// (group), 5 Help under Extras, 6 Samples under Extras (5 GiB).
class ComponentChoiceTest : public ::testing::Test {
 protected:
  ComponentChoiceTest() {
    Type(0, u"Minimal", false);
    Type(2, u"Full", false);
    Type(5, u"Custom", true);
    // mask: two bits per type number; Minimal = bits 0-1, Full = 4-5, Custom = 10-11.
    Item(1, u"0;\t2;\t536870912;\t0;\t0;\t1041", u"Core", 1000, false);  // 1 | 1<<4 | 1<<10
    Item(2, u"1;\t3;\t0;\t0;\t0;\t0", nullptr, 0, false);
    Item(3, u"2;\t5;\t0;\t0;\t0;\t0", nullptr, 0, false);
    Item(4, u"0;\t2;\t0;\t0;\t0;\t16", u"Extras", 0, true);   // Full
    Item(5, u"4;\t2;\t0;\t0;\t0;\t16", u"Help", 300, false);  // Full
    Item(6, u"4;\t2;\t0;\t0;\t0;\t1040", u"Samples", int64_t{5} << 30, false);  // Full, Custom
  }

  void Type(int t, const char16_t* name, bool showsComponents) {
    config_.SetInt(cc::Str::Formatted(u"s.i.Type.%d.Flag", t),
                   0x1000000 | (showsComponents ? 0x2000000 : 0));
    config_.Set(cc::Str::Formatted(u"en.s.i.Type.%d.Item", t), name);
  }

  void Item(int n, const char16_t* fields, const char16_t* name, int64_t size, bool hasSub) {
    config_.Set(cc::Str::Formatted(u"s.f.%d.Item", n), fields);
    if (name) config_.Set(cc::Str::Formatted(u"s.f.%d.Item.Len.1", n), name);
    config_.Set(cc::Str::Formatted(u"s.f.%d.Item.Size", n), cc::Str::Formatted(u"%lld", static_cast<long long>(size)));
    if (hasSub) config_.SetBool(cc::Str::Formatted(u"s.f.%d.Item.HasSubGroup", n), true);
  }

  std::vector<int> States() const {
    std::vector<int> states;
    for (const wizard::Component& c : tree_.Components()) states.push_back(c.state);
    return states;
  }

  cc::KeyArr config_{false, true};
  wizard::ComponentTree tree_;
};

TEST_F(ComponentChoiceTest, TypesKeepTheirNumbers) {
  std::vector<wizard::SetupType> types = wizard::OfferedTypes(config_, u"en");
  ASSERT_EQ(types.size(), 3u);
  EXPECT_EQ(types[1].number, 2);
  EXPECT_EQ(types[2].number, 5);
  wizard::StoreSetupType(config_, types[2]);
  EXPECT_EQ(config_.GetInt(u"Ret.Content.Index", -1), 5);
  EXPECT_EQ(config_.GetInt(u"Ret.Customize.Index", -1), 5);
  EXPECT_EQ(config_.Get(u"Ret.Content.Text").ToUtf8(), "Custom");
  EXPECT_TRUE(config_.GetBool(u"Ret.Customize.Show", false));

  config_.Remove(u"en.s.i.Type.2.Item");
  EXPECT_EQ(wizard::OfferedTypes(config_, u"en")[1].name.ToUtf8(), "Item 1");
}

TEST_F(ComponentChoiceTest, TreeShapeAndLocks) {
  tree_.Load(config_, u"en");
  ASSERT_EQ(tree_.Components().size(), 4u);  // the folder and the file are not components
  EXPECT_EQ(tree_.Components()[2].name.ToUtf8(), "Help");
  EXPECT_EQ(tree_.Components()[2].parent, 1);
  EXPECT_EQ(tree_.Components()[2].depth, 1);
  EXPECT_TRUE(tree_.Components()[0].locked);
  EXPECT_FALSE(tree_.SetChecked(0, false));
  EXPECT_EQ(tree_.Components()[0].state, wizard::kChecked);
}

TEST_F(ComponentChoiceTest, TypeSwitchesAndTheResultsTheEngineReads) {
  struct Case {
    int type;
    std::vector<int> states;  // Core, Extras, Help, Samples
    const char* required;
    const char* text;
  };
  const Case cases[] = {
      {2, {1, 1, 1, 1}, "5368710420", "    Core\r\n    Extras\r\n        Help\r\n        Samples\r\n"},
      {0, {1, 0, 0, 0}, "1000", "    Core\r\n"},  // Minimal after Full: only what Minimal names
      {5, {1, 2, 0, 1}, "5368710120", "    Core\r\n    Extras\r\n        Samples\r\n"},
  };
  tree_.Load(config_, u"en");
  for (const Case& c : cases) {
    tree_.ApplyType(c.type);
    EXPECT_EQ(States(), c.states) << c.type;
    tree_.Store(config_);
    EXPECT_EQ(config_.Get(u"Ret.Location.Required").ToUtf8(), c.required) << c.type;
    EXPECT_EQ(config_.Get(u"Ret.Customize.Text").ToUtf8(), c.text) << c.type;
    for (size_t i = 0; i < c.states.size(); ++i) {
      int item = tree_.Components()[i].item;
      EXPECT_EQ(config_.GetBool(cc::Str::Formatted(u"Ret.Customize.Checked%d", item), false),
                c.states[i] != 0)
          << c.type << " item " << item;
    }
  }
}

TEST_F(ComponentChoiceTest, TriStatePropagation) {
  tree_.Load(config_, u"en");
  tree_.ApplyType(0);
  ASSERT_TRUE(tree_.SetChecked(2, true));  // Help
  EXPECT_EQ(States(), (std::vector<int>{1, 2, 1, 0}));
  ASSERT_TRUE(tree_.SetChecked(3, true));  // Samples
  EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 1}));
  ASSERT_TRUE(tree_.SetChecked(1, false));  // Extras clears its children
  EXPECT_EQ(States(), (std::vector<int>{1, 0, 0, 0}));
  ASSERT_TRUE(tree_.SetChecked(1, true));
  EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 1}));
  EXPECT_EQ(tree_.RequiredBytes(), 1300 + (int64_t{5} << 30));
}

TEST_F(ComponentChoiceTest, NothingChosenChoosesTheFirst) {
  config_.Set(u"s.f.1.Item", u"0;\t2;\t0;\t0;\t0;\t0");  // Core no longer locked
  tree_.Load(config_, u"en");
  tree_.ApplyType(0);
  tree_.SetChecked(0, false);
  EXPECT_FALSE(tree_.AnyChosen());
  tree_.Store(config_);
  EXPECT_TRUE(config_.GetBool(u"Ret.Customize.Checked1", false));

  tree_.ApplyType(2);
  tree_.ApplyStored(config_);  // back to what was stored
  EXPECT_EQ(States(), (std::vector<int>{1, 0, 0, 0}));
}

TEST_F(ComponentChoiceTest, TypePositionsAreNotTypeNumbers) {
  std::vector<wizard::SetupType> types = wizard::OfferedTypes(config_, u"en");
  struct Case {
    int number;
    int position;
  };
  const Case cases[] = {{0, 0}, {2, 1}, {5, 2}, {1, -1}, {3, -1}, {6, -1}};
  for (const Case& c : cases) EXPECT_EQ(wizard::TypePosition(types, c.number), c.position) << c.number;

  // The components page stores the type but leaves "Ret.Customize.Show" to
  // the type page: it is shown already, whatever the new type says.
  config_.SetBool(u"Ret.Customize.Show", true);
  wizard::StoreSetupType(config_, types[1], false);
  EXPECT_EQ(config_.GetInt(u"Ret.Content.Index", -1), 2);
  EXPECT_EQ(config_.Get(u"Ret.Content.Text").ToUtf8(), "Full");
  EXPECT_TRUE(config_.GetBool(u"Ret.Customize.Show", false));
}

// The user's own checks survive what the pages do between two showings:
// the stored results read back, and the tree read again in another
// language; groups follow their sub-components and locks hold.
TEST_F(ComponentChoiceTest, CustomChecksKept) {
  config_.Set(u"s.f.5.Item.Lde.1", u"Hilfe");
  tree_.Load(config_, u"en");
  tree_.ApplyType(2);
  ASSERT_TRUE(tree_.SetChecked(3, false));  // Samples off
  tree_.Store(config_);
  EXPECT_EQ(config_.Get(u"Ret.Location.Required").ToUtf8(), "1300");

  wizard::ComponentTree again;
  again.Load(config_, u"en");
  again.ApplyStored(config_);
  EXPECT_EQ(again.Components()[1].state, wizard::kPartial);
  EXPECT_EQ(again.Components()[3].state, wizard::kUnchecked);

  wizard::ComponentTree german;
  german.Load(config_, u"de");
  german.KeepStates(tree_);
  EXPECT_EQ(german.Components()[2].name.ToUtf8(), "Hilfe");
  std::vector<int> states;
  for (const wizard::Component& c : german.Components()) states.push_back(c.state);
  EXPECT_EQ(states, (std::vector<int>{1, 2, 1, 0}));
}

TEST_F(ComponentChoiceTest, LockedComponentsStayChosen) {
  // Help becomes locked: clearing its group keeps it, and the group with it.
  config_.Set(u"s.f.5.Item", u"4;\t2;\t536870912;\t0;\t0;\t16");
  tree_.Load(config_, u"en");
  tree_.ApplyType(5);  // Custom names Samples; Core and Help come locked
  EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 1}));
  ASSERT_TRUE(tree_.SetChecked(1, false));
  EXPECT_EQ(States(), (std::vector<int>{1, 2, 1, 0}));
  EXPECT_FALSE(tree_.SetChecked(2, false));
  tree_.Store(config_);
  EXPECT_TRUE(config_.GetBool(u"Ret.Customize.Checked5", false));
  EXPECT_TRUE(config_.GetBool(u"Ret.Customize.Checked4", false));
  EXPECT_FALSE(config_.GetBool(u"Ret.Customize.Checked6", true));
  EXPECT_EQ(config_.Get(u"Ret.Location.Required").ToUtf8(), "1300");
}

// The type page's Next, back and forth between the types numbered 0, 2
// and 5, with the user's checks on the components page in between.
TEST_F(ComponentChoiceTest, TypePageChoicesBackAndForth) {
  std::vector<wizard::SetupType> types = wizard::OfferedTypes(config_, u"en");
  config_.SetInt(u"Ret.Content.Index", 0);  // start-up's choice
  struct Step {
    int chosen;          // the type page's Next with this type
    int clearItem;       // then the components page clears this item (0: none)
    const char* checked; // Ret.Customize.Checked1, 4, 5, 6 after the Next
    const char* required;
    bool showsComponents;
  };
  const Step steps[] = {
      {5, 6, "1101", "5368710120", true},  // Custom: Core, Extras, Samples; then Samples cleared
      {5, 0, "1000", "1000", true},        // Custom again: the user's checks stay
      {0, 0, "1000", "1000", false},       // Minimal: only Core, nothing left from before
      {2, 0, "1111", "5368710420", false}, // Full
      {0, 0, "1000", "1000", false},       // Minimal again
  };
  for (const Step& step : steps) {
    wizard::ComponentTree tree = wizard::ChooseSetupType(config_, u"en", types, step.chosen);
    std::string checked;
    for (int item : {1, 4, 5, 6}) {
      checked += config_.GetBool(cc::Str::Formatted(u"Ret.Customize.Checked%d", item), false) ? '1' : '0';
    }
    EXPECT_EQ(checked, step.checked) << step.chosen;
    EXPECT_EQ(config_.Get(u"Ret.Location.Required").ToUtf8(), step.required) << step.chosen;
    EXPECT_EQ(config_.GetInt(u"Ret.Content.Index", -1), step.chosen);
    EXPECT_EQ(config_.GetBool(u"Ret.Customize.Show", !step.showsComponents), step.showsComponents);
    if (step.clearItem == 0) continue;
    for (size_t i = 0; i < tree.Components().size(); ++i) {
      if (tree.Components()[i].item == step.clearItem) tree.SetChecked(static_cast<int>(i), false);
    }
    tree.Store(config_);  // the components page's leave
  }
}

TEST(FormatSizeTest, Units) {
  struct Case {
    int64_t bytes;
    const char* text;
  };
  const Case cases[] = {{1023, "0.999 KB"}, {1048576, "1.000 MB"}, {int64_t{5} << 30, "5.000 GB"}};
  for (const Case& c : cases) EXPECT_EQ(wizard::FormatSize(c.bytes).ToUtf8(), c.text);
}

}  // namespace
