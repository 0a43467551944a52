#include "wizard/proposed_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ProposedTextTest, TypedTextSurvivesALanguageSwitch) {
  wizard::ProposedText text;
  text.Load(u"C:\\Program Files\\Tool 2.1\\");
  EXPECT_EQ(text.Text().ToUtf8(), "C:\\Program Files\\Tool 2.1\\");
  // Untouched: the proposal follows the language.
  text.Load(u"C:\\Program Files\\Werkzeug 2.1\\");
  EXPECT_EQ(text.Text().ToUtf8(), "C:\\Program Files\\Werkzeug 2.1\\");
  text.Edit(u"D:\\Mine\\");
  text.Load(u"C:\\Program Files\\Tool 2.1\\");
  EXPECT_EQ(text.Text().ToUtf8(), "D:\\Mine\\");
  // Typed back to the proposal: it follows the language again.
  text.Edit(u"C:\\Program Files\\Tool 2.1\\");
  text.Load(u"C:\\Program Files\\Werkzeug 2.1\\");
  EXPECT_EQ(text.Text().ToUtf8(), "C:\\Program Files\\Werkzeug 2.1\\");
}

}  // namespace
