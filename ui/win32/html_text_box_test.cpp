#include "ui/win32/html_text_box.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/win32/app.h"
#include "ui/win32/form.h"

namespace cc::win {
namespace {

// A form with one HTML text box whose links are opened by a recorder.
class HtmlBoxFixture {
 public:
  explicit HtmlBoxFixture(bool createFirst = true) {
    form_.SetClientSize(400, 300);
    box_ = form_.Add(std::make_unique<HtmlTextBox>());
    box_->SetBounds(5, 5, 380, 280);
    box_->SetAppFolder([] { return Str(u"C:\\App\\"); });
    box_->SetOpener([this](const LinkDecision& d) {
      opened_.push_back(d.target);
      return true;
    });
    box_->SetLogger([this](const Str& line) { log_.push_back(line.ToUtf8()); });
    if (createFirst) created_ = form_.CreateControl();
  }
  bool Create() { return created_ = form_.CreateControl(); }
  HtmlTextBox* box() { return box_; }
  const std::vector<std::u16string>& opened() const { return opened_; }
  const std::vector<std::string>& log() const { return log_; }

  // The rich edit's link notification for a mouse message over [start, end).
  void SendLinkMessage(UINT mouse, int start, int end) {
    ENLINK link = {};
    link.nmhdr.hwndFrom = box_->Handle();
    link.nmhdr.idFrom = GetDlgCtrlID(box_->Handle());
    link.nmhdr.code = EN_LINK;
    link.msg = mouse;
    link.chrg.cpMin = start;
    link.chrg.cpMax = end;
    SendMessageW(form_.Handle(), WM_NOTIFY, link.nmhdr.idFrom, reinterpret_cast<LPARAM>(&link));
  }

  bool HasLinkEffect(int position) {
    CHARRANGE range = {position, position + 1};
    SendMessageW(box_->Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format = {};
    format.cbSize = sizeof format;
    SendMessageW(box_->Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return (format.dwEffects & CFE_LINK) != 0;
  }
  bool IsBold(int position) {
    CHARRANGE range = {position, position + 1};
    SendMessageW(box_->Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format = {};
    format.cbSize = sizeof format;
    SendMessageW(box_->Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return (format.dwEffects & CFE_BOLD) != 0;
  }

 private:
  App app_;
  Form form_;
  HtmlTextBox* box_ = nullptr;
  bool created_ = false;
  std::vector<std::u16string> opened_;
  std::vector<std::string> log_;
};

struct ExpectedLink {
  const char16_t* target;
  int start, end;
};

TEST(HtmlTextBoxTest, LinkMarkersBecomeLinks) {
  struct Case {
    const char* what;
    const char* html;
    const char16_t* text;
    std::vector<ExpectedLink> links;
  };
  const Case cases[] = {
      {"one link", "See <a href=\"readme.txt\">the readme</a> now.", u"See the readme now.",
       {{u"readme.txt", 4, 14}}},
      {"two links", "<a href=\"https://a.example/\">A</a> and <a href='mailto:b@b.example'>B</a>",
       u"A and B", {{u"https://a.example/", 0, 1}, {u"mailto:b@b.example", 6, 7}}},
      {"target with RTF specials", "<a href=\"C:\\App\\{x}.txt\">x</a>", u"x",
       {{u"C:\\App\\{x}.txt", 0, 1}}},
      {"non-Latin link text", "<a href=\"https://r.example/\">\xD0\xA1\xD0\xB0\xD0\xB9\xD1\x82</a>",
       u"\u0421\u0430\u0439\u0442", {{u"https://r.example/", 0, 4}}},
      {"unclosed link keeps its end unmarked", "<a href=\"x.txt\">open",
       u"open", {}},
      {"no links", "<b>bold</b> text", u"bold text", {}},
  };
  for (const Case& c : cases) {
    HtmlBoxFixture fixture;
    ASSERT_TRUE(fixture.box()->SetHtml(c.html, -1)) << c.what;
    EXPECT_EQ(fixture.box()->PlainText().View(), std::u16string_view(c.text)) << c.what;
    const auto& links = fixture.box()->Links();
    ASSERT_EQ(links.size(), c.links.size()) << c.what;
    for (size_t i = 0; i < links.size(); ++i) {
      EXPECT_EQ(links[i].target.View(), std::u16string_view(c.links[i].target)) << c.what;
      EXPECT_EQ(links[i].start, c.links[i].start) << c.what;
      EXPECT_EQ(links[i].end, c.links[i].end) << c.what;
      EXPECT_TRUE(fixture.HasLinkEffect(links[i].start)) << c.what;
      EXPECT_TRUE(fixture.HasLinkEffect(links[i].end - 1)) << c.what;
      if (links[i].start > 0) {
        EXPECT_FALSE(fixture.HasLinkEffect(links[i].start - 1)) << c.what;
      }
    }
  }
}

TEST(HtmlTextBoxTest, DocumentSetBeforeTheWindowExists) {
  HtmlBoxFixture fixture(false);
  fixture.box()->SetHtml("<b>Bold</b> and <a href=\"https://x.example/\">link</a>", -1);
  ASSERT_TRUE(fixture.Create());
  EXPECT_EQ(fixture.box()->PlainText().ToUtf8(), "Bold and link");
  ASSERT_EQ(fixture.box()->Links().size(), 1u);
  EXPECT_TRUE(fixture.IsBold(0));
  // Only the bold run is bold: the control's own default is reset.
  EXPECT_FALSE(fixture.IsBold(6));
}

TEST(HtmlTextBoxTest, PlainTextIsShownAsWritten) {
  HtmlBoxFixture fixture;
  fixture.box()->SetHtml("<a href=\"x.txt\">x</a>", -1);
  const Str text(u"{\\rtf1\\ansi not markup} Gr\u00FC\u00DFe \u041F\u0440\u0438\u0432\u0435\u0442");
  fixture.box()->SetPlainText(text);
  EXPECT_EQ(fixture.box()->PlainText().View(), text.View());
  EXPECT_TRUE(fixture.box()->Links().empty());
}

// A click opens a link once, as the policy decides; a refused one is only
// logged.
TEST(HtmlTextBoxTest, ClickOpensAllowedLinksOnce) {
  struct Case {
    const char* what;
    const char* href;
    const char16_t* opened;  // nullptr: nothing opened
    const char* logged;      // the start of the log line
  };
  const Case cases[] = {
      {"file in the application folder", "docs\\readme.txt", u"c:\\App\\docs\\readme.txt",
       "Link opened: c:\\App\\docs\\readme.txt"},
      {"web address", "https://x.example/a", u"https://x.example/a", "Link opened: https://x.example/a"},
      {"mail address", "mailto:a@x.example", u"mailto:a@x.example", "Link opened: mailto:a@x.example"},
      {"program in the folder", "tool.exe", nullptr, "Link not opened: tool.exe (program or script)"},
      {"network path", "\\\\server\\share\\a.txt", nullptr, "Link not opened: \\\\server\\share\\a.txt"},
      {"file outside the folder", "C:\\Windows\\win.ini", nullptr, "Link not opened: C:\\Windows\\win.ini"},
      {"script scheme", "javascript:alert(1)", nullptr, "Link not opened: javascript:alert(1)"},
  };
  for (const Case& c : cases) {
    HtmlBoxFixture fixture;
    std::string html = std::string("Go <a href=\"") + c.href + "\">here</a>.";
    fixture.box()->SetHtml(html.data(), static_cast<int>(html.size()));
    ASSERT_EQ(fixture.box()->Links().size(), 1u) << c.what;
    fixture.SendLinkMessage(WM_LBUTTONDOWN, 3, 7);
    fixture.SendLinkMessage(WM_MOUSEMOVE, 3, 7);
    EXPECT_TRUE(fixture.opened().empty()) << c.what << ": only the release opens";
    fixture.SendLinkMessage(WM_LBUTTONUP, 3, 7);
    if (c.opened) {
      ASSERT_EQ(fixture.opened().size(), 1u) << c.what;
      EXPECT_EQ(fixture.opened()[0], std::u16string(c.opened)) << c.what;
    } else {
      EXPECT_TRUE(fixture.opened().empty()) << c.what;
    }
    ASSERT_EQ(fixture.log().size(), 1u) << c.what;
    EXPECT_EQ(fixture.log()[0].rfind(c.logged, 0), 0u) << c.what << ": " << fixture.log()[0];
  }
}

TEST(HtmlTextBoxTest, ClickOutsideTheLinksOpensNothing) {
  HtmlBoxFixture fixture;
  fixture.box()->SetHtml("Go <a href=\"https://x.example/\">here</a>.", -1);
  EXPECT_FALSE(fixture.box()->OpenLinkAt(0));
  EXPECT_FALSE(fixture.box()->OpenLinkAt(7));
  EXPECT_TRUE(fixture.box()->OpenLinkAt(6));
  EXPECT_EQ(fixture.opened().size(), 1u);
}

}  // namespace
}  // namespace cc::win
