#include "runtime/result_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/csidl.h"
#include "platform/fake/fake_platform.h"

namespace {

std::string Utf8(const cc::Str& text) { return text.ToUtf8(); }

// One component-tree item: parent, kind, state word (field 6), and the keys
// that go with it.
struct TreeItem {
  int parent;
  int kind;
  int64_t state;
  const char16_t* name;  // "s.f.%d.Item.Len-US.1"; null: none
  int size;              // "s.f.%d.Item.Size"; 0: none
  bool hasSubGroup;
};

void PutTree(cc::KeyArr& store, const std::vector<TreeItem>& items) {
  for (size_t i = 0; i < items.size(); ++i) {
    int n = static_cast<int>(i) + 1;
    const TreeItem& item = items[i];
    store.Set(cc::Str::Formatted(u"s.f.%d.Item", n),
              cc::Str::Formatted(u"%d;\t%d;\t0;\t0;\t0;\t%I64d;\t;\tpayload", item.parent, item.kind,
                                 item.state));
    if (item.name) store.Set(cc::Str::Formatted(u"s.f.%d.Item.Len-US.1", n), item.name);
    if (item.size) store.SetInt(cc::Str::Formatted(u"s.f.%d.Item.Size", n), item.size);
    if (item.hasSubGroup) store.SetBool(cc::Str::Formatted(u"s.f.%d.Item.HasSubGroup", n), true);
  }
}

// Which of items 1..count have "Ret.Customize.Checked%d" true ("1"),
// false ("0") or absent ("-").
std::string CheckedMap(const cc::KeyArr& store, int count) {
  std::string map;
  for (int n = 1; n <= count; ++n) {
    cc::Str key = cc::Str::Formatted(u"Ret.Customize.Checked%d", n);
    map += !store.Has(key) ? '-' : store.GetBool(key, false) ? '1' : '0';
  }
  return map;
}

constexpr int64_t kNoTypeOn = 1LL << 30;
constexpr int64_t kNoTypeOff = (1LL << 30) | (1LL << 31);

TEST(WalkComponentsTest, CheckedStateTextAndSizeFollowTheTree) {
  // 1 Core            (component)
  // 2   core.dll      (file)
  // 3 Extras          (group of components, size of its own ignored)
  // 4   Docs          (component)
  // 5     manual.pdf  (file)
  // 6   Samples       (component)
  // 7 Tools           (component)
  struct Case {
    int typeIndex;
    int64_t states[7];
    const char* checked;
    const char* text;
    int64_t size;
    int checkedCount;
    int firstUnchecked;
  };
  const Case cases[] = {
      // No setup type: bit 30 set and bit 31 clear check a component.
      {-1, {kNoTypeOn, 0, kNoTypeOn, kNoTypeOn, 0, kNoTypeOff, 0}, "1-11-00",
       "    Core\r\n    Extras\r\n        Docs\r\n", 120, 3, 6},
      // Setup type 1: bits 2 and 3 decide; either one is enough.
      {1, {0x4, 0, 0x8, 0, 0, 0x4, 0x3}, "1-10-10",
       "    Core\r\n    Extras\r\n        Samples\r\n", 130, 3, 4},
      {0, {0, 0, 0, 0, 0, 0, 0}, "0-00-00", "", 0, 0, 1},
      // A group checked without its children adds nothing to the size.
      {0, {0, 0, 1, 0, 0, 0, 0}, "0-10-00", "    Extras\r\n", 0, 1, 1},
      // A component without a name is counted but not listed.
      {0, {0, 0, 0, 0, 0, 0, 0x2}, "0-00-01", "", 40, 1, 1},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    cc::KeyArr store(false, true);
    PutTree(store, {
                       {0, 2, c.states[0], u"  Core ", 100, false},
                       {1, 5, c.states[1], nullptr, 0, false},
                       {0, 2, c.states[2], u"Extras", 999, true},
                       {3, 2, c.states[3], u"Docs", 20, false},
                       {4, 5, c.states[4], nullptr, 0, false},
                       {3, 2, c.states[5], u"Samples", 30, false},
                       {0, 2, c.states[6], nullptr, 40, false},
                   });
    int itemIndex = 0;
    cc::Str text(u"");
    int64_t size = 0;
    int checkedCount = 0;
    int firstUnchecked = -1;
    WalkComponents(store, u"en-US", c.typeIndex, itemIndex, text, u"    ", size, checkedCount,
                   firstUnchecked);
    EXPECT_EQ(CheckedMap(store, 7), c.checked) << "case " << i;
    EXPECT_EQ(Utf8(text), c.text) << "case " << i;
    EXPECT_EQ(size, c.size) << "case " << i;
    EXPECT_EQ(checkedCount, c.checkedCount) << "case " << i;
    EXPECT_EQ(firstUnchecked, c.firstUnchecked) << "case " << i;
    EXPECT_EQ(itemIndex, 7) << "case " << i;
  }
}

TEST(WalkComponentsTest, AnEarlierChoiceKeepsAComponentChecked) {
  cc::KeyArr store(false, true);
  PutTree(store, {{0, 2, 0, u"A", 5, false}, {0, 2, 0, u"B", 7, false}});
  store.SetBool(u"Ret.Customize.Checked2", true);
  int itemIndex = 0;
  cc::Str text(u"");
  int64_t size = 0;
  int checkedCount = 0;
  int firstUnchecked = -1;
  WalkComponents(store, u"en-US", 0, itemIndex, text, u"    ", size, checkedCount, firstUnchecked);
  EXPECT_EQ(CheckedMap(store, 2), "01");
  EXPECT_EQ(size, 7);
  EXPECT_EQ(firstUnchecked, 1);
}

TEST(WalkComponentsTest, TheWalkEndsWhereTheTreeDoes) {
  struct Case {
    std::vector<TreeItem> items;
    int lastTaken;
    const char* checked;
  };
  const Case cases[] = {
      // The children of a file are never walked, and the walk stops there.
      {{{0, 5, 0, nullptr, 0, false}, {1, 2, kNoTypeOn, u"Hidden", 5, false},
        {0, 2, kNoTypeOn, u"Next", 1, false}},
       1, "---"},
      // A negative parent or kind ends the walk.
      {{{0, 2, kNoTypeOn, u"A", 1, false}, {-1, 2, kNoTypeOn, u"B", 1, false}}, 1, "1-"},
      {{{0, 2, kNoTypeOn, u"A", 1, false}, {0, -2, kNoTypeOn, u"B", 1, false}}, 1, "1-"},
      // A parent that is not the current item ends the walk too.
      {{{0, 2, kNoTypeOn, u"A", 1, false}, {5, 2, kNoTypeOn, u"B", 1, false}}, 1, "1-"},
      // Other kinds are containers whose children are walked.
      {{{0, 3, 0, nullptr, 0, false}, {1, 4, 0, nullptr, 0, false},
        {2, 2, kNoTypeOn, u"Deep", 9, false}},
       3, "--1"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cc::KeyArr store(false, true);
    PutTree(store, cases[i].items);
    int itemIndex = 0;
    cc::Str text(u"");
    int64_t size = 0;
    int checkedCount = 0;
    int firstUnchecked = -1;
    WalkComponents(store, u"en-US", -1, itemIndex, text, u"    ", size, checkedCount, firstUnchecked);
    EXPECT_EQ(itemIndex, cases[i].lastTaken) << "case " << i;
    // '-': no state stored (not a component, or never reached).
    std::string checked = cases[i].checked;
    EXPECT_EQ(CheckedMap(store, static_cast<int>(checked.size())), checked) << "case " << i;
  }
}

class InitialResultsTest : public ::testing::Test {
 protected:
  InitialResultsTest() {
    platform_.SetOs(MakeFakeOs(FakeWindows::k7, true));
    platform_.fake_system.SetSpecialFolder(kCsidlProgramFilesX86, u"C:\\Program Files (x86)");
  }
  FakePlatform platform_;
  cc::KeyArr store_{false, true};
};

TEST_F(InitialResultsTest, FoldersMenuAndFixedResults) {
  struct Case {
    const char16_t* appTxt;
    const char16_t* appDir;
    const char* expected;
  };
  const Case cases[] = {
      {u"<ProgramFilesDir(32bit)>", u"Acme\\Tool", "C:\\Program Files (x86)\\Acme\\Tool\\"},
      {u"<ProgramFilesDir(32bit)>", u"Acme\\", "C:\\Program Files (x86)\\Acme\\"},
      {u"<ProgramFilesDir(32bit)>", nullptr, "C:\\Program Files (x86)\\"},
      {nullptr, nullptr, "\\"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cc::KeyArr store(false, true);
    store.Set(u"s.i.Comp.editAppTxt", cases[i].appTxt);
    store.Set(u"s.i.Comp.editAppDir", cases[i].appDir);
    store.Set(u"en-US.s.i.Short.PrgMenu", u"Acme Tool");
    ComputeInitialResults(store, u"en-US", platform_);
    EXPECT_EQ(Utf8(store.Get(u"Ret.Dir.App")), cases[i].expected) << "case " << i;
    EXPECT_EQ(Utf8(store.Get(u"Ret.Location.Path")), cases[i].expected) << "case " << i;
    EXPECT_EQ(Utf8(store.Get(u"Ret.Menu.InitPath")), "Acme Tool") << "case " << i;
    EXPECT_EQ(Utf8(store.Get(u"Ret.Menu.Path")), "Acme Tool") << "case " << i;
    EXPECT_EQ(Utf8(store.Get(u"Ret.Location.AllUser")), "1") << "case " << i;
    EXPECT_EQ(Utf8(store.Get(u"Ret.Customize.Show")), "1") << "case " << i;
    EXPECT_FALSE(store.Has(u"Ret.Content.Index")) << "case " << i;
  }
}

TEST_F(InitialResultsTest, AllUncheckedEndsWithTheFirstCheckableChecked) {
  PutTree(store_, {
                      {0, 3, 0, nullptr, 0, false},
                      {1, 2, 0, u"Main", 10, false},
                      {1, 2, 0, u"Extra", 20, false},
                  });
  ComputeInitialResults(store_, u"en-US", platform_);
  EXPECT_EQ(CheckedMap(store_, 3), "-10");
  EXPECT_EQ(Utf8(store_.Get(u"Ret.Customize.Text")), "        Main\r\n");
  EXPECT_EQ(Utf8(store_.Get(u"Ret.Location.Required")), "10");
}

TEST_F(InitialResultsTest, TheDefaultSetupTypeDecidesTheComponents) {
  PutTree(store_, {
                      {0, 2, 0x1, u"Main", 10, false},        // in type 0
                      {0, 2, 0x4 | kNoTypeOn, u"Big", 20, false},  // in type 1, and without types
                  });
  store_.SetInt(u"s.i.Type.3.Flag", 0x1000000);
  store_.Set(u"en-US.s.i.Type.0.Item", u"Typical");
  ComputeInitialResults(store_, u"en-US", platform_);
  EXPECT_EQ(Utf8(store_.Get(u"Ret.Content.Index")), "0");
  EXPECT_EQ(Utf8(store_.Get(u"Ret.Content.Text")), "Typical");
  EXPECT_EQ(CheckedMap(store_, 2), "10");
  EXPECT_EQ(Utf8(store_.Get(u"Ret.Location.Required")), "10");
}

TEST_F(InitialResultsTest, WithoutComponentsNothingIsCheckedAndNothingIsNeeded) {
  ComputeInitialResults(store_, u"en-US", platform_);
  EXPECT_EQ(Utf8(store_.Get(u"Ret.Customize.Text")), "");
  EXPECT_TRUE(store_.Has(u"Ret.Customize.Text"));
  EXPECT_EQ(Utf8(store_.Get(u"Ret.Location.Required")), "0");
}

TEST_F(InitialResultsTest, ARequiredSizeBeyond32BitsIsNotWrapped) {
  PutTree(store_, {{0, 2, kNoTypeOn, u"A", 2000000000, false}, {0, 2, kNoTypeOn, u"B", 2000000000, false}});
  ComputeInitialResults(store_, u"en-US", platform_);
  EXPECT_EQ(Utf8(store_.Get(u"Ret.Location.Required")), "4000000000");
}

TEST_F(InitialResultsTest, ShortcutChoicesComeFromEitherFlagBit) {
  struct Case {
    int flag;
    const char* locations;  // '1' where "Ret.Shortcut.chkShort0_%d" is set
  };
  const Case cases[] = {
      {0, "--------"},
      {0x1, "1-------"},
      {0x1000, "1-------"},
      {0x2 | 0x80, "-1-----1"},
      {0x2000 | 0x80000, "-1-----1"},
      {0x4 | 0x8000, "--11----"},
      {0xFF, "11111111"},
      {0x100 | 0x100000, "--------"},  // bits of no location
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cc::KeyArr store(false, true);
    store.SetInt(u"s.i.Short.Count", 1);
    store.SetInt(u"s.i.Short.0.Flag", cases[i].flag);
    ComputeInitialResults(store, u"en-US", platform_);
    std::string locations;
    for (int j = 0; j < kShortcutLocationCount; ++j) {
      cc::Str value = store.Get(cc::Str::Formatted(u"Ret.Shortcut.chkShort0_%d", j));
      locations += value.IsNull() ? '-' : Utf8(value) == "1" ? '1' : '?';
    }
    EXPECT_EQ(locations, cases[i].locations) << "case " << i;
  }
}

TEST_F(InitialResultsTest, EveryShortcutUpToTheCountIsConsidered) {
  store_.SetInt(u"s.i.Short.Count", 2);
  store_.SetInt(u"s.i.Short.0.Flag", 0x1);
  store_.SetInt(u"s.i.Short.1.Flag", 0x2000);
  store_.SetInt(u"s.i.Short.2.Flag", 0x1);  // beyond the count
  ComputeInitialResults(store_, u"en-US", platform_);
  EXPECT_TRUE(store_.Has(u"Ret.Shortcut.chkShort0_0"));
  EXPECT_TRUE(store_.Has(u"Ret.Shortcut.chkShort1_1"));
  EXPECT_FALSE(store_.Has(u"Ret.Shortcut.chkShort2_0"));
}

TEST_F(InitialResultsTest, AHugeShortcutCountFindsTheFlagsThatExist) {
  store_.SetInt(u"s.i.Short.Count", 2000000000);
  store_.SetInt(u"S.I.SHORT.1999999999.FLAG", 0x2);
  store_.SetInt(u"s.i.Short.01.Flag", 0x1);   // not how "%d" writes 1
  store_.SetInt(u"s.i.Short.-1.Flag", 0x1);
  store_.SetInt(u"s.i.Short.x.Flag", 0x1);
  ComputeInitialResults(store_, u"en-US", platform_);
  EXPECT_TRUE(store_.Has(u"Ret.Shortcut.chkShort1999999999_1"));
  int chosen = 0;
  for (int k = 0; k < store_.Count(); ++k) {
    if (store_.KeyAt(k).StartsWith(u"Ret.Shortcut.")) ++chosen;
  }
  EXPECT_EQ(chosen, 1);
}

}  // namespace
