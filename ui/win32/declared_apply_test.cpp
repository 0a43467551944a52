#include "ui/win32/declared_apply.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ui/win32/app.h"
#include "ui/win32/background_apply.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/container.h"
#include "ui/win32/form.h"

namespace cc::win {
namespace {

void Put(KeyArr* config, const char16_t* key, const char16_t* value) { config->Set(Str(key), Str(value)); }

// A form "frm" holding page "pg" with label "labInfo" and button "btnGo".
struct Tree {
  Form form;
  Panel* page = nullptr;
  Label* label = nullptr;
  Button* button = nullptr;
  Tree() {
    form.SetName(Str(u"frm"));
    form.SetClientSize(300, 200);
    page = form.Add(std::make_unique<Panel>());
    page->SetName(Str(u"pg"));
    page->SetBounds(0, 0, 300, 200);
    label = page->Add(std::make_unique<Label>());
    label->SetName(Str(u"labInfo"));
    label->SetBounds(5, 5, 50, 20);
    button = page->Add(std::make_unique<Button>());
    button->SetName(Str(u"btnGo"));
    button->SetBounds(5, 40, 60, 24);
  }
};

DeclaredContext ContextFor(const KeyArr& config, std::vector<Str>* problems) {
  DeclaredContext context;
  context.config = &config;
  context.textPrefix = Str(u"en-US.");
  context.problems = problems;
  return context;
}

TEST(ApplyDeclaredTest, SettingsReachTheControlsOfARealTree) {
  App app;
  Tree tree;
  ASSERT_TRUE(tree.form.CreateControl());
  KeyArr config;
  Put(&config, u"en-US.s.pg.labInfo", u"Hello");
  Put(&config, u"s.pg.labInfo._DFlag", u"3");
  Put(&config, u"s.pg.labInfo._DRect", u"10,20,100,30");
  Put(&config, u"s.pg.labInfo._DColor", u"255,,65280");
  Put(&config, u"en-US.s.pg.btnGo", u"");             // an empty text counts
  Put(&config, u"s.pg.btnGo._DRect", u"90,90,10,10");  // flag 0: not applied
  Put(&config, u"s.pg._DFlag", u"1");
  Put(&config, u"s.pg._DRect", u",,250,150");          // size only
  tree.button->ModifyStyle(kStylePaint, 0, kPaintSizeFromLayout);
  tree.label->ModifyStyle(kStylePaint, 0, kPaintSizeFromLayout);
  std::vector<Str> problems;
  tree.form.SetConfigName(Str(u""));  // the form itself is left out; its children use prefix "s"
  ApplyDeclared(&tree.form, Str(u"s"), ContextFor(config, &problems));

  struct Case {
    Control* control;
    const char16_t* text;
    Bounds bounds;
    bool sizeFromLayout;
  } cases[] = {
      {tree.label, u"Hello", {10, 20, 100, 30}, false},
      {tree.button, u"", {5, 40, 60, 24}, true},
      {tree.page, nullptr, {0, 0, 250, 150}, false},
  };
  for (const Case& c : cases) {
    const Str& name = c.control->Name();
    if (c.text != nullptr) {
      EXPECT_TRUE(c.control->Text().Equals(Str(c.text))) << name.ToUtf8();
    }
    RECT r;
    GetWindowRect(c.control->Handle(), &r);
    MapWindowPoints(nullptr, GetParent(c.control->Handle()), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, c.bounds.x) << name.ToUtf8();
    EXPECT_EQ(r.top, c.bounds.y) << name.ToUtf8();
    EXPECT_EQ(r.right - r.left, c.bounds.width) << name.ToUtf8();
    EXPECT_EQ(r.bottom - r.top, c.bounds.height) << name.ToUtf8();
    EXPECT_EQ(c.control->HasStyle(kStylePaint, kPaintSizeFromLayout), c.sizeFromLayout) << name.ToUtf8();
  }
  EXPECT_EQ(tree.label->TextColor(), 255u);
  EXPECT_EQ(tree.label->BackColor(), 65280u);
  EXPECT_EQ(tree.label->AccentColor(), kNoColour);
  EXPECT_TRUE(problems.empty());
}

TEST(ApplyDeclaredTest, MalformedValuesAreIgnoredWithALine) {
  App app;
  Tree tree;
  ASSERT_TRUE(tree.form.CreateControl());
  KeyArr config;
  Put(&config, u"frm.pg.labInfo._DFlag", u"3");
  Put(&config, u"frm.pg.labInfo._DRect", u"10,x,100,30");
  Put(&config, u"frm.pg.labInfo._DColor", u"red,,255");
  std::vector<Str> problems;
  ApplyDeclared(&tree.form, Str(), ContextFor(config, &problems));
  EXPECT_EQ(tree.label->GetBounds().x, 5);
  EXPECT_EQ(tree.label->GetBounds().y, 5);
  EXPECT_EQ(tree.label->TextColor(), kNoColour) << "the bad item is skipped";
  EXPECT_EQ(tree.label->BackColor(), 255u) << "the good item still applies";
  EXPECT_GE(problems.size(), 2u);
}

// Pages are shown again and again: the declared children must appear once,
// keep their declared text and report their clicks.
TEST(ApplyDeclaredTest, DeclaredChildrenAreCreatedOnce) {
  App app;
  Tree tree;
  ASSERT_TRUE(tree.form.CreateControl());
  KeyArr config;
  Put(&config, u"p.pg._DFlag", u"8");
  Put(&config, u"p.pg._DCtlCount", u"3");
  Put(&config, u"p.pg._DCtl1.Name", u"btnExtra");
  Put(&config, u"p.pg._DCtl1.Type", u"Button");
  Put(&config, u"p.pg._DCtl2.Name", u"labExtra");
  Put(&config, u"p.pg._DCtl2.Type", u"label");  // wrong case: nothing
  Put(&config, u"p.pg._DCtl3.Name", u"labNote");
  Put(&config, u"p.pg._DCtl3.Type", u"Label");
  Put(&config, u"p.pg._DCtl3.CfgName", u"note");
  Put(&config, u"en-US.p.pg.btnExtra", u"Extra");
  std::vector<Control*> clicked;
  std::vector<Str> problems;
  DeclaredContext context = ContextFor(config, &problems);
  context.onDeclaredClick = [&clicked](Control* c) { clicked.push_back(c); };
  tree.form.SetConfigName(Str(u""));
  for (int pass = 0; pass < 2; ++pass) {
    ApplyDeclared(&tree.form, Str(u"p"), context);
    ASSERT_EQ(tree.page->ChildCount(), 4) << "pass " << pass;
  }
  Control* extra = tree.page->FindChild(Str(u"btnExtra"), false);
  Control* note = tree.page->FindChild(Str(u"labNote"), false);
  ASSERT_NE(extra, nullptr);
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(tree.page->FindChild(Str(u"labExtra"), false), nullptr);
  EXPECT_TRUE(extra->Created());
  EXPECT_TRUE(extra->Text().Equals(Str(u"Extra")));
  EXPECT_TRUE(note->Text().Equals(Str(kDynamicControlText)));
  EXPECT_TRUE(note->ConfigName().Equals(Str(u"note")));
  // The button's notification as its parent receives it.
  SendMessageW(tree.page->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
               reinterpret_cast<LPARAM>(extra->Handle()));
  ASSERT_EQ(clicked.size(), 1u);
  EXPECT_EQ(clicked[0], extra);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Captures the shown form's client area as a person would see it.
class Capture {
 public:
  explicit Capture(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    HDC screen = GetDC(window);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, r.right, r.bottom);
    old_ = SelectObject(dc_, bitmap_);
    BitBlt(dc_, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
  }
  ~Capture() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

void PumpPaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// The form paints the "BG" group; a transparent child shows it through and
// the hatch/fixed brush stays until the group changes.
TEST(ApplyBackgroundTest, GroupsArePaintedOnARealWindow) {
  struct Case {
    const char* name;
    const char16_t* index;
    const char16_t* color1;
    const char16_t* color2;
    const char16_t* color3;
    const char16_t* vertical;
    // Expected colours at the client's left/top edge and right/bottom edge.
    COLORREF first, last;
  } cases[] = {
      {"solid", u"0", u"255", u"0", u"0", u"0", RGB(255, 0, 0), RGB(255, 0, 0)},
      {"horizontal", u"1", u"0", u"16711680", u"255", u"0", RGB(0, 0, 255), RGB(255, 0, 0)},
      {"vertical", u"1", u"0", u"65280", u"16711680", u"1", RGB(0, 255, 0), RGB(0, 0, 255)},
      {"missing image", u"2", u"65535", u"0", u"0", u"0", RGB(255, 255, 0), RGB(255, 255, 0)},
      {"stretched image", u"2", u"65535", u"0", u"0", u"0", RGB(255, 0, 0), RGB(0, 0, 255)},
  };
  App app;
  Form form;
  form.SetClientSize(256, 256);
  form.ModifyStyle(kStylePaint, 0, kPaintOwnBackground);
  Control* child = form.Add(std::make_unique<Control>());
  child->SetBounds(100, 100, 50, 50);
  child->ModifyStyle(kStylePaint, 0, kPaintTransparent);
  ASSERT_TRUE(form.CreateControl());
  form.Show();
  BackgroundCache cache;
  for (const Case& c : cases) {
    KeyArr config;
    Put(&config, u"g.Index", c.index);
    Put(&config, u"g.Color1", c.color1);
    Put(&config, u"g.Color2", c.color2);
    Put(&config, u"g.Color3", c.color3);
    Put(&config, u"g.Vertical", c.vertical);
    bool image = std::string(c.name) == "stretched image";
    Put(&config, u"g.ImgPath", image ? u"two.bmp" : u"absent.bmp");
    Put(&config, u"g.Stretch", u"1");
    std::vector<Str> problems;
    // "two.bmp" is two pixels, red then blue; nothing else loads.
    ImageLoader loader = [](const Str& name) -> HBITMAP {
      if (!name.Equals(Str(u"two.bmp"))) return nullptr;
      HDC screen = GetDC(nullptr);
      HDC dc = CreateCompatibleDC(screen);
      HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 1);
      ReleaseDC(nullptr, screen);
      HGDIOBJ old = SelectObject(dc, bitmap);
      SetPixel(dc, 0, 0, RGB(255, 0, 0));
      SetPixel(dc, 1, 0, RGB(0, 0, 255));
      SelectObject(dc, old);
      DeleteDC(dc);
      return bitmap;
    };
    ApplyBackground(&form, config, Str(u"g"), &cache, loader, &problems);
    SendMessageW(form.Handle(), kToolkitMessage, kRefreshBackground, 0);
    PumpPaint(form.Handle());
    Capture shot(form.Handle());
    bool vertical = c.vertical[0] == u'1';
    COLORREF first = shot.At(2, 2);
    COLORREF last = vertical ? shot.At(2, 253) : shot.At(253, 2);
    EXPECT_TRUE(Near(first, c.first, 4)) << c.name << " first " << std::hex << first;
    EXPECT_TRUE(Near(last, c.last, 4)) << c.name << " last " << std::hex << last;
    // The transparent child shows the same background as the form under it.
    Capture under(form.Handle());
    EXPECT_TRUE(Near(under.At(125, 125), vertical ? under.At(2, 125) : under.At(125, 2), 4))
        << c.name << " child " << std::hex << under.At(125, 125);
    EXPECT_EQ(problems.size(), c.index[0] == u'2' && !image ? 1u : 0u) << c.name;
  }
}

// Who paints under a transparent control: the nearest ancestor that paints
// its own background, or the nearest that leaves it to the platform.
TEST(ApplyBackgroundTest, TransparentControlsShowTheRightAncestor) {
  struct Case {
    const char* name;
    uint32_t panelBits;
    COLORREF panelBack;
    COLORREF expected;
  } cases[] = {
      {"through a transparent panel to the form", kPaintTransparent, RGB(0, 255, 0), RGB(255, 0, 0)},
      {"a panel painting its own", kPaintOwnBackground, RGB(0, 255, 0), RGB(0, 255, 0)},
      {"a panel left to the platform", 0, kNoColour, GetSysColor(COLOR_BTNFACE)},
  };
  App app;
  for (const Case& c : cases) {
    Form form;
    form.SetClientSize(100, 100);
    form.ModifyStyle(kStylePaint, 0, kPaintOwnBackground);
    form.SetBackColor(RGB(255, 0, 0));
    Panel* panel = form.Add(std::make_unique<Panel>());
    panel->SetBounds(10, 10, 80, 80);
    panel->ModifyStyle(kStylePaint, 0, c.panelBits);
    if (c.panelBack != kNoColour) panel->SetBackColor(c.panelBack);
    Control* child = panel->Add(std::make_unique<Control>());
    child->SetBounds(5, 5, 20, 20);
    child->ModifyStyle(kStylePaint, 0, kPaintTransparent);
    ASSERT_TRUE(form.CreateControl());
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(child->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    COLORREF got = GetPixel(dc, 3, 3);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EXPECT_TRUE(Near(got, c.expected, 2)) << c.name << " " << std::hex << got;
  }
}

}  // namespace
}  // namespace cc::win
