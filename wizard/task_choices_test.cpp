#include "wizard/task_choices.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using wizard::TaskSection;

class TaskChoicesTest : public ::testing::Test {
 protected:
  TaskChoicesTest() {
    // Entry 0: menu, desktop (fixed), start; extensions .note, .memo; a
    // service. Entry 1: desktop only.
    config_.SetInt(u"s.i.Short.Count", 2);
    config_.SetInt(u"s.i.Short.0.Flag", 0x1 | 0x2 | 0x4 | 0x2000 | 0x1000000 | 0x4000000);
    config_.Set(u"en.s.i.Short.0.Name", u"Notes");
    config_.Set(u"s.i.Short.0.SeName", u"NotesSvc");
    config_.Set(u"en.s.i.Short.0.SeDesc", u"Sync service");
    config_.SetInt(u"Ret.Shortcut.Ext0.Count", 2);
    config_.Set(u"Ret.Shortcut.Ext0.0", u".note");
    config_.Set(u"Ret.Shortcut.Ext0.1", u".memo");
    config_.SetInt(u"s.i.Short.1.Flag", 0x2);
    config_.Set(u"en.s.i.Short.1.Name", u"Viewer");
  }

  wizard::TaskBox& Box(wizard::TaskModel& model, TaskSection section, int entry, int index) {
    for (wizard::TaskBox& box : model.boxes) {
      if (box.section == section && box.entry == entry && box.index == index) return box;
    }
    ADD_FAILURE() << "no box " << entry << "/" << index;
    return model.boxes.front();
  }

  std::string Text(const char16_t* key) { return config_.Get(key).ToUtf8(); }

  cc::KeyArr config_{false, true};
};

TEST_F(TaskChoicesTest, ResultsAndSummariesListOnlyCheckedItems) {
  wizard::TaskModel model = wizard::BuildTaskModel(config_, u"en", wizard::kTasksAll);
  ASSERT_EQ(model.captions.size(), 4u);
  EXPECT_EQ(model.captions[0].text.ToUtf8(), "Notes would create Shortcuts for at:");
  EXPECT_EQ(model.captions[3].text.ToUtf8(), "Service NotesSvc would be created:");
  ASSERT_EQ(model.boxes.size(), 7u);  // 3 + 1 shortcuts, 2 extensions, 1 service
  EXPECT_FALSE(Box(model, TaskSection::kShortcuts, 0, 1).enabled);  // fixed desktop

  Box(model, TaskSection::kShortcuts, 0, 2).checked = false;
  Box(model, TaskSection::kAssociations, 0, 0).checked = false;
  Box(model, TaskSection::kServices, 0, 0).checked = false;
  wizard::StoreTaskResults(config_, model, wizard::kTasksAll);

  EXPECT_TRUE(config_.GetBool(u"Ret.Shortcut.chkShort0_0", false));
  EXPECT_TRUE(config_.GetBool(u"Ret.Shortcut.chkShort0_1", false));
  EXPECT_FALSE(config_.GetBool(u"Ret.Shortcut.chkShort0_2", true));
  EXPECT_EQ(Text(u"Ret.Shortcut.chkExt0.0"), "0");
  EXPECT_EQ(Text(u"Ret.Shortcut.chkExt0.1"), "1");
  EXPECT_FALSE(config_.GetBool(u"Ret.Shortcut.chkService0", true));
  EXPECT_EQ(Text(u"Ret.Shortcut.ShText"),
            "    Notes would create Shortcuts for at:\r\n        Menu; Desk; \r\n"
            "    Viewer would create Shortcuts for at:\r\n        Desk; \r\n");
  EXPECT_EQ(Text(u"Ret.Shortcut.AsText"),
            "    Notes would associated to file's extension:\r\n        .memo; \r\n");
  EXPECT_EQ(Text(u"Ret.Shortcut.SeText"), "");
}

TEST_F(TaskChoicesTest, SingleSectionPagesKeepEachOthersSummaries) {
  struct Case {
    int pageId;
    size_t boxes;
  };
  const Case cases[] = {{123, 4}, {124, 2}, {125, 1}};
  for (const Case& c : cases) {
    int kind = wizard::TaskKindOfPage(c.pageId);
    wizard::TaskModel model = wizard::BuildTaskModel(config_, u"en", kind);
    EXPECT_EQ(model.boxes.size(), c.boxes) << c.pageId;
    wizard::StoreTaskResults(config_, model, kind);
  }
  EXPECT_NE(Text(u"Ret.Shortcut.ShText"), "");
  EXPECT_NE(Text(u"Ret.Shortcut.AsText"), "");
  EXPECT_EQ(Text(u"Ret.Shortcut.SeText"), "    Service NotesSvc would be created:\r\n        Sync service; \r\n");
  EXPECT_EQ(wizard::TaskKindOfPage(111), -1);
}

TEST_F(TaskChoicesTest, SkippedMenuAndChecksKeptOverARelayout) {
  wizard::TaskModel first = wizard::BuildTaskModel(config_, u"en", wizard::kTasksShortcuts);
  Box(first, TaskSection::kShortcuts, 0, 2).checked = false;

  config_.SetBool(u"Ret.Menu.Skip", true);
  wizard::TaskModel skipped = wizard::BuildTaskModel(config_, u"en", wizard::kTasksShortcuts);
  wizard::KeepTaskChecks(skipped, first);
  EXPECT_FALSE(Box(skipped, TaskSection::kShortcuts, 0, 0).enabled);
  EXPECT_FALSE(Box(skipped, TaskSection::kShortcuts, 0, 0).checked);
  EXPECT_FALSE(Box(skipped, TaskSection::kShortcuts, 0, 2).checked);
  wizard::StoreTaskResults(config_, skipped, wizard::kTasksShortcuts);
  EXPECT_FALSE(config_.GetBool(u"Ret.Shortcut.chkShort0_0", true));

  config_.SetBool(u"Ret.Menu.Skip", false);
  config_.Set(u"de.s.i.Var.S_Desk", u"Desktop");
  wizard::TaskModel german = wizard::BuildTaskModel(config_, u"de", wizard::kTasksShortcuts);
  wizard::KeepTaskChecks(german, skipped);
  EXPECT_TRUE(Box(german, TaskSection::kShortcuts, 0, 0).enabled);
  EXPECT_TRUE(Box(german, TaskSection::kShortcuts, 0, 0).checked);
  EXPECT_FALSE(Box(german, TaskSection::kShortcuts, 0, 2).checked);
  EXPECT_EQ(Box(german, TaskSection::kShortcuts, 0, 1).text.ToUtf8(), "Desktop");
}

TEST_F(TaskChoicesTest, RowsAndLimits) {
  cc::KeyArr config{false, true};
  config.SetInt(u"s.i.Short.ShortLineCount", 1);  // two boxes per row
  config.SetInt(u"s.i.Short.Count", 12);
  for (int i = 0; i < 12; ++i) {
    config.SetInt(cc::Str::Formatted(u"s.i.Short.%d.Flag", i), 0xFF | 0x1000000);
    config.SetInt(cc::Str::Formatted(u"Ret.Shortcut.Ext%d.Count", i), 1);
    config.Set(cc::Str::Formatted(u"Ret.Shortcut.Ext%d.0", i), u".x");
  }
  wizard::TaskModel model = wizard::BuildTaskModel(config, u"en", wizard::kTasksAll);
  EXPECT_EQ(model.captions.size(), 10u);  // ten shortcut captions, no room for more
  ASSERT_EQ(model.boxes.size(), 60u);     // eight per entry, cut at sixty
  EXPECT_EQ(model.boxes[2].row, 1);
  EXPECT_EQ(model.boxes[2].column, 0);
  EXPECT_EQ(model.boxes[8].entry, 1);
  EXPECT_EQ(model.boxes[8].row, 0);

  wizard::StoreTaskResults(config, model, wizard::kTasksAll);
  // Every box that exists stores its state; the sixtieth is entry 7, location 3.
  EXPECT_TRUE(config.Has(u"Ret.Shortcut.chkShort7_3"));
  EXPECT_FALSE(config.Has(u"Ret.Shortcut.chkShort7_4"));
  EXPECT_FALSE(config.Has(u"Ret.Shortcut.chkExt0.0"));
}

// The sixtieth box may be a service's: it is shown and its choice stored,
// and a box beyond it is neither.
TEST_F(TaskChoicesTest, TheSixtiethBoxIsShownAndRead) {
  cc::KeyArr config{false, true};
  config.SetInt(u"s.i.Short.Count", 10);
  for (int i = 0; i < 7; ++i) config.SetInt(cc::Str::Formatted(u"s.i.Short.%d.Flag", i), 0xFF);
  config.SetInt(u"s.i.Short.7.Flag", 0x7);        // boxes 57 to 59
  config.SetInt(u"s.i.Short.8.Flag", 0x4000000);  // box 60
  config.SetInt(u"s.i.Short.9.Flag", 0x4000000);  // no room
  wizard::TaskModel model = wizard::BuildTaskModel(config, u"en", wizard::kTasksAll);
  ASSERT_EQ(model.boxes.size(), 60u);
  EXPECT_EQ(model.boxes.back().section, TaskSection::kServices);
  EXPECT_EQ(model.boxes.back().entry, 8);
  model.boxes.back().checked = false;
  wizard::StoreTaskResults(config, model, wizard::kTasksAll);
  EXPECT_FALSE(config.GetBool(u"Ret.Shortcut.chkService8", true));
  EXPECT_FALSE(config.Has(u"Ret.Shortcut.chkService9"));
}

TEST_F(TaskChoicesTest, EntryWithoutLocationsGetsNothing) {
  config_.SetInt(u"s.i.Short.1.Flag", 0);
  wizard::TaskModel model = wizard::BuildTaskModel(config_, u"en", wizard::kTasksShortcuts);
  wizard::StoreTaskResults(config_, model, wizard::kTasksShortcuts);
  EXPECT_EQ(model.captions.size(), 1u);
  EXPECT_FALSE(config_.Has(u"Ret.Shortcut.chkShort1_1"));
}

}  // namespace
