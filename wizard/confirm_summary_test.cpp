#include "wizard/confirm_summary.h"

#include <gtest/gtest.h>

namespace {

TEST(ConfirmSummaryTest, ChoicesToText) {
  struct Case {
    const char* name;
    const char16_t* type;
    const char16_t* components;
    bool skip;
    const char16_t* menu;
    const char16_t* initMenu;
    const char16_t* tasks;
    const char* expected;
  };
  const Case cases[] = {
      {"everything", u"Full", u"    Core\r\n    Help\r\n", false, u"Vendor\\Tool", u"Tool",
       u"    Desktop shortcut\r\n",
       "Destination location:\r\n    D:\\Tool\\\r\n\r\n"
       "Setup type:\r\n    Full\r\n\r\n"
       "Selected components:\r\n    Core\r\n    Help\r\n\r\n"
       "Start Menu folder:\r\n    Vendor\\Tool\r\n\r\n"
       "Additional tasks:\r\n    Desktop shortcut\r\n\r\n"},
      {"no type, no components, no tasks", u"", u"", false, u"", u"Tool", u"",
       "Destination location:\r\n    D:\\Tool\\\r\n\r\n"
       "Start Menu folder:\r\n    Tool\r\n\r\n"
       "Additional tasks:\r\n\r\n"},
      {"skipped menu", nullptr, nullptr, true, u"Vendor\\Tool", u"Tool", nullptr,
       "Destination location:\r\n    D:\\Tool\\\r\n\r\n"
       "Start Menu folder:\r\n    Skip.\r\n\r\n"
       "Additional tasks:\r\n\r\n"},
      {"no menu folder known", nullptr, nullptr, false, u"", u"", nullptr,
       "Destination location:\r\n    D:\\Tool\\\r\n\r\n"
       "Start Menu folder:\r\n    <None>\r\n\r\n"
       "Additional tasks:\r\n\r\n"},
  };
  for (const Case& c : cases) {
    cc::KeyArr config{false, true};
    config.Set(u"Ret.Location.Path", u"D:\\Tool\\");
    if (c.type) config.Set(u"Ret.Content.Text", c.type);
    if (c.components) config.Set(u"Ret.Customize.Text", c.components);
    config.SetBool(u"Ret.Menu.Skip", c.skip);
    config.Set(u"Ret.Menu.Path", c.menu);
    config.Set(u"Ret.Menu.InitPath", c.initMenu);
    if (c.tasks) config.Set(u"Ret.Shortcut.ShText", c.tasks);
    EXPECT_EQ(wizard::ConfirmSummary(config, u"en").ToUtf8(), c.expected) << c.name;
  }
}

TEST(ConfirmSummaryTest, CaptionsInTheLanguageAndTasksInOrder) {
  cc::KeyArr config{false, true};
  config.Set(u"Ret.Location.Path", u"C:\\T\\");
  config.Set(u"Ret.Menu.Path", u"T");
  config.Set(u"de.s.i.Var.S_DESLOC", u"Zielort:");
  config.Set(u"de.s.i.Var.S_ADDTASK", u"Zusätzliche Aufgaben:");
  config.Set(u"Ret.Shortcut.ShText", u"    a\r\n");
  config.Set(u"Ret.Shortcut.AsText", u"    b\r\n");
  config.Set(u"Ret.Shortcut.SeText", u"    c\r\n");
  EXPECT_EQ(wizard::ConfirmSummary(config, u"de").ToUtf8(),
            "Zielort:\r\n    C:\\T\\\r\n\r\n"
            "Start Menu folder:\r\n    T\r\n\r\n"
            "Zusätzliche Aufgaben:\r\n    a\r\n    b\r\n    c\r\n\r\n");
  EXPECT_TRUE(wizard::ConfirmRebuildsOn(-2));
  EXPECT_FALSE(wizard::ConfirmRebuildsOn(-1));
}

}  // namespace
