#include "ui/win32/app.h"

#include <gtest/gtest.h>

#include <string>

#include "core/exceptions.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/form.h"

namespace cc::win {
namespace {

std::u16string Message(const UserException& e) { return std::u16string(e.Message().View()); }

TEST(App, ASecondAppIsRefusedWithItsText) {
  App first;
  try {
    App second;
    FAIL() << "a second App was allowed";
  } catch (const UserException& e) {
    EXPECT_EQ(Message(e), kAppTwiceError);
  }
  EXPECT_EQ(App::Current(), &first);
}

TEST(App, PumpingPendingMessagesPostsTheQuitMessageAgain) {
  App app;
  PostThreadMessageW(GetCurrentThreadId(), WM_USER + 5, 0, 0);
  PostQuitMessage(7);
  EXPECT_FALSE(app.PumpPendingMessages());
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_TRUE(app.PumpPendingMessages());  // nothing left
}

TEST(App, RunEndsWhenTheFormCloses) {
  App app;
  Form form;
  form.SetClientSize(200, 100);
  Button* button = form.Add(std::make_unique<Button>());
  button->SetBounds(10, 10, 80, 23);
  button->Click.Add([&form](Control*, EventArgs&) { form.Close(); });
  form.Load.Add([button](Control*, EventArgs&) {
    PostMessageW(button->Handle(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(app.Run(&form), 0);
  EXPECT_FALSE(form.Created());
  EXPECT_NE(App::SharedMainWindow(), 0u);
}

// Words 0 and 1 reach the window at once; words 2 to 4 are the toolkit's.
TEST(Control, StyleWordChanges) {
  App app;
  Form form;
  Control* child = form.Add(std::make_unique<Control>());
  ASSERT_TRUE(form.CreateControl());
  struct Case {
    int word;
    uint32_t clear, set;
    LONG windowStyle, windowExStyle;  // bits expected on (-1: not checked)
  };
  const Case cases[] = {
      {kStyleWindow, 0, WS_BORDER, WS_BORDER, -1},
      {kStyleWindow, WS_BORDER, 0, 0, -1},
      {kStyleExWindow, 0, WS_EX_CLIENTEDGE, -1, WS_EX_CLIENTEDGE},
      {kStylePaint, 0, kPaintTransparent, -1, -1},
      {kStyleBack, 0, kBackGradient, -1, -1},
  };
  for (const Case& c : cases) {
    child->ModifyStyle(c.word, c.clear, c.set);
    EXPECT_TRUE(child->HasStyle(c.word, c.set)) << c.word;
    EXPECT_EQ(child->Style(c.word) & c.clear, 0u) << c.word;
    LONG style = GetWindowLongW(child->Handle(), GWL_STYLE);
    if (c.windowStyle >= 0) {
      EXPECT_EQ(style & WS_BORDER, c.windowStyle) << c.word;
    }
    if (c.windowExStyle >= 0) {
      EXPECT_EQ(GetWindowLongW(child->Handle(), GWL_EXSTYLE) & c.windowExStyle, c.windowExStyle);
    }
    EXPECT_TRUE(style & WS_CHILD) << "the window stays a child";
  }
}

// The driver finds controls by the name atom; it goes with the window.
TEST(Control, WindowsCarryTheirNameUntilDestroyed) {
  App app;
  Form form;
  form.SetName(u"frmTest");
  Button* button = form.Add(std::make_unique<Button>());
  button->SetName(u"btnProbeName");
  ASSERT_TRUE(form.CreateControl());
  wchar_t name[64] = {};
  ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(button->Handle(), kNameProperty)));
  ASSERT_NE(atom, 0);
  GlobalGetAtomNameW(atom, name, 64);
  EXPECT_STREQ(name, L"btnProbeName");
  EXPECT_NE(GetPropW(form.Handle(), kNameProperty), nullptr);
  form.DestroyHandle();
  EXPECT_EQ(GlobalFindAtomW(L"btnProbeName"), 0);
}

TEST(Form, EnterAndEscapePressTheirButtons) {
  App app;
  Form form;
  Button* ok = form.Add(std::make_unique<Button>());
  Button* cancel = form.Add(std::make_unique<Button>());
  form.SetEnterButton(ok);
  form.SetEscapeButton(cancel);
  std::string pressed;
  ok->Click.Add([&pressed](Control*, EventArgs&) { pressed += "enter "; });
  cancel->Click.Add([&pressed](Control*, EventArgs&) { pressed += "escape "; });
  ASSERT_TRUE(form.CreateControl());
  for (WPARAM key : {static_cast<WPARAM>(VK_RETURN), static_cast<WPARAM>(VK_ESCAPE)}) {
    MSG msg = {ok->Handle(), WM_KEYDOWN, key, 0, 0, {0, 0}};
    EXPECT_TRUE(App::PreTranslate(&msg));
  }
  EXPECT_EQ(pressed, "enter escape ");
  cancel->SetEnabled(false);
  MSG msg = {ok->Handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  App::PreTranslate(&msg);
  EXPECT_EQ(pressed, "enter escape ") << "a disabled button is not pressed";
}

// The real window follows the anchor rule when its form is resized.
TEST(Control, AnchoredChildrenFollowTheirForm) {
  App app;
  Form form;
  form.SetClientSize(600, 600);
  Button* button = form.Add(std::make_unique<Button>());
  button->SetBounds(502, 568, 90, 23);
  button->SetAnchor(kAnchorBottom | kAnchorRight);
  ASSERT_TRUE(form.CreateControl());
  form.SetClientSize(500, 355);
  RECT r;
  GetWindowRect(button->Handle(), &r);
  MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 402);
  EXPECT_EQ(r.top, 323);
  EXPECT_EQ(r.right - r.left, 90);
}

}  // namespace
}  // namespace cc::win
