#include "ui/win32/ie_control.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/win32/app.h"
#include "ui/win32/form.h"

namespace cc::win {
namespace {

// The control with the engine check answered by the test.
class TestIEControl : public IEControl {
 public:
  explicit TestIEControl(bool engineMissing) : engineMissing_(engineMissing) {}

 protected:
  bool BrowserEngineMissing() const override { return engineMissing_; }

 private:
  bool engineMissing_;
};

void Pump(int milliseconds) {
  DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  MSG msg;
  while (GetTickCount() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

struct Fixture {
  explicit Fixture(bool engineMissing) {
    form.SetClientSize(400, 300);
    ie = form.Add(std::make_unique<TestIEControl>(engineMissing));
    ie->SetBounds(5, 30, 390, 260);
  }
  App app;
  Form form;
  IEControl* ie = nullptr;
};

// Without a browser the address is offered as a link under a clear text;
// the browser's events decide when its page replaces them.
TEST(IEControlTest, FallbackUntilThePageIsShown) {
  Fixture f(true);
  f.ie->Navigate(Str(u"https://pages.example/info"));
  ASSERT_TRUE(f.form.CreateControl());
  EXPECT_FALSE(f.ie->HasBrowser());
  Control* label = f.ie->FindChild(Str(u"labNoBrowser"));
  Control* link = f.ie->FindChild(Str(u"linkUrl"));
  ASSERT_NE(label, nullptr);
  ASSERT_NE(link, nullptr);
  EXPECT_TRUE(f.ie->ShowingFallback());
  EXPECT_TRUE(link->Visible());
  EXPECT_EQ(link->Text().ToUtf8(), "https://pages.example/info");
  EXPECT_EQ(label->Text().View(), std::u16string_view(kNoBrowserText));

  // The starting blank page is not the page asked for.
  f.ie->OnDocumentComplete(Str(u"about:blank"));
  EXPECT_TRUE(f.ie->ShowingFallback());
  f.ie->OnDocumentComplete(Str(u"https://pages.example/info"));
  EXPECT_FALSE(f.ie->ShowingFallback());
  // A failure brings the address back, and the failed page's own document
  // (an error page) does not hide it again.
  f.ie->OnNavigateError();
  EXPECT_TRUE(f.ie->ShowingFallback());
  f.ie->OnDocumentComplete(Str(u"res://error.htm"));
  EXPECT_TRUE(f.ie->ShowingFallback());

  // No address: an empty page, no text about a page that cannot be shown.
  f.ie->Navigate(Str(u""));
  EXPECT_FALSE(f.ie->ShowingFallback());
}

// The offered address opens on a click, once, as the link policy allows.
TEST(IEControlTest, AddressLinkOpensAsThePolicyAllows) {
  struct Case {
    const char16_t* url;
    bool opens;
  };
  const Case cases[] = {
      {u"https://pages.example/info", true},
      {u"javascript:alert(1)", false},
      {u"\\\\server\\share\\page.htm", false},
  };
  for (const Case& c : cases) {
    Fixture f(true);
    int opened = 0, logged = 0;
    f.ie->SetOpener([&](const LinkDecision&) { return ++opened > 0; });
    f.ie->SetLogger([&](const Str&) { ++logged; });
    f.ie->Navigate(Str(c.url));
    ASSERT_TRUE(f.form.CreateControl());
    HWND link = f.ie->FindChild(Str(u"linkUrl"))->Handle();
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(opened, c.opens ? 1 : 0) << Str(c.url).ToUtf8();
    EXPECT_EQ(logged, 1) << Str(c.url).ToUtf8();
  }
}

// The real browser control hosted (Wine's shows no page without its
// engine): the address stays offered, the window keeps answering, and
// resizing and closing go cleanly.
TEST(IEControlTest, HostedBrowserNeverLeavesAnEmptyPage) {
  Fixture f(false);
  ASSERT_TRUE(f.form.CreateControl());
  f.ie->SetSilent(true);
  f.ie->Navigate(Str(u"https://pages.example/info"));
  Pump(500);
  if (!f.ie->HasBrowser()) GTEST_SKIP() << "no browser control on this system";
  EXPECT_TRUE(f.ie->ShowingFallback());
  f.ie->SetBounds(5, 30, 300, 200);
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(f.form.Handle(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0);
  f.form.DestroyHandle();
}

}  // namespace
}  // namespace cc::win
