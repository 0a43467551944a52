#include "wizard/win32/overwrite_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ui/win32/app.h"
#include "wizard/win32/remove_dialog.h"

namespace wizard {
namespace {

OverwriteQuestion Question(const cc::Str& target) {
  OverwriteQuestion q;
  q.caption = u"Question";
  q.message = cc::Str(u"The file already exists. Replace it?\r\n\r\n") + target;
  q.target = target;
  const char16_t* labels[kOverwriteButtonCount] = {u"&Replace", u"Replace &all", u"&Skip",
                                                   u"Skip a&ll", u"Replace &older", u"&Cancel"};
  for (int i = 0; i < kOverwriteButtonCount; ++i) q.buttons[i] = labels[i];
  return q;
}

// What a person does once the dialog is up, run from a timer of the
// dialog's own message loop.
std::function<void()> g_act;
void CALLBACK Act(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_act();
}

int AskAndAct(OverwriteDlg& dialog, std::function<void()> act) {
  g_act = std::move(act);
  SetTimer(nullptr, 0, 50, Act);
  return dialog.Ask(nullptr);
}

TEST(OverwriteDialogTest, EachWayOfClosingGivesItsAnswer) {
  cc::win::App app;
  struct Case {
    const char* name;
    int button;     // pressed, or -1
    UINT message;   // else sent to the dialog (WM_CLOSE, or WM_KEYDOWN Escape)
    int expected;
  };
  const Case cases[] = {
      {"replace", 0, 0, kOverwriteReplace},        {"replace all", 1, 0, kOverwriteReplaceAll},
      {"skip", 2, 0, kOverwriteSkip},              {"skip all", 3, 0, kOverwriteSkipAll},
      {"replace older", 4, 0, kOverwriteReplaceOlder}, {"cancel", 5, 0, kOverwriteCancel},
      {"closed without a button", -1, WM_CLOSE, kOverwriteCancel},
      {"escape", -1, WM_KEYDOWN, kOverwriteCancel},
  };
  for (const Case& c : cases) {
    OverwriteDlg dialog(Question(u"C:\\App\\a.txt"));
    int answer = AskAndAct(dialog, [&] {
      if (c.button >= 0) {
        dialog.ButtonAt(c.button)->PerformClick();
      } else if (c.message == WM_CLOSE) {
        SendMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
      } else {
        MSG msg = {};
        msg.hwnd = dialog.Handle();
        msg.message = WM_KEYDOWN;
        msg.wParam = VK_ESCAPE;
        cc::win::App::DispatchOne(&msg);
      }
    });
    EXPECT_EQ(answer, c.expected) << c.name;
  }
}

TEST(OverwriteDialogTest, LayoutOfBothDialogs) {
  cc::win::App app;
  OverwriteDlg overwrite(Question(u"C:\\App\\a.txt"));
  RemoveDlg remove(Question(u"C:\\App\\a.txt"));
  struct Case {
    const char* name;
    OverwriteDlg* dialog;
    int clientWidth;
    int lefts[kOverwriteButtonCount];  // -1: hidden
  };
  const Case cases[] = {
      {"overwrite", &overwrite, 620, {50, 150, 250, 330, 420, 520}},
      {"remove", &remove, 520, {50, 150, 250, 330, -1, 420}},
  };
  for (const Case& c : cases) {
    RECT client = {};
    int answer = AskAndAct(*c.dialog, [&] {
      GetClientRect(c.dialog->Handle(), &client);
      for (int i = 0; i < kOverwriteButtonCount; ++i) {
        cc::win::Button* button = c.dialog->ButtonAt(i);
        EXPECT_EQ(button->Visible(), c.lefts[i] >= 0) << c.name << " button " << i;
        if (c.lefts[i] >= 0) {
          EXPECT_EQ(button->GetBounds().x, c.lefts[i]) << c.name << " button " << i;
        }
      }
      c.dialog->ButtonAt(kOverwriteCancel)->PerformClick();
    });
    EXPECT_EQ(answer, kOverwriteCancel) << c.name;
    EXPECT_EQ(client.right, c.clientWidth) << c.name;
    EXPECT_EQ(client.bottom, 122) << c.name;
  }
}

// However long the path, the window keeps its size and the label ends with
// the file name.
TEST(OverwriteDialogTest, ALongPathKeepsTheFileNameInView) {
  cc::win::App app;
  std::u16string path = u"C:\\";
  for (int i = 0; i < 30; ++i) path += u"a rather long folder name\\";
  path += u"the file.txt";
  OverwriteDlg dialog(Question(cc::Str(path)));
  cc::Str shown;
  RECT client = {};
  AskAndAct(dialog, [&] {
    GetClientRect(dialog.Handle(), &client);
    cc::win::Control* label = dialog.FindChild(u"labMsg");
    shown = label->Text();
    dialog.ButtonAt(kOverwriteCancel)->PerformClick();
  });
  EXPECT_TRUE(shown.EndsWith(u"\\the file.txt")) << shown.ToUtf8();
  EXPECT_TRUE(shown.StartsWith(u"The file already exists. Replace it?\r\n\r\nC:\\")) << shown.ToUtf8();
  EXPECT_GE(shown.IndexOf(u"...\\"), 0) << shown.ToUtf8();
  EXPECT_EQ(client.right, 620);
  EXPECT_EQ(client.bottom, 122);
}

}  // namespace
}  // namespace wizard
