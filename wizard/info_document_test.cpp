#include "wizard/info_document.h"

#include <gtest/gtest.h>

namespace {

using wizard::DocumentKind;

TEST(InfoDocumentTest, KindByExtension) {
  struct Case {
    const char16_t* name;
    DocumentKind kind;
  };
  const Case cases[] = {
      {u"licence.txt", DocumentKind::kText},
      {u"LICENCE.TXT", DocumentKind::kText},
      {u"docs\\notes.Rtf", DocumentKind::kRtf},
      {u"info.htm", DocumentKind::kHtml},
      {u"info.HTML", DocumentKind::kHtml},
      {u"info.xhtml", DocumentKind::kNone},
      {u"readme.txt.bak", DocumentKind::kNone},
      {u"licence.doc", DocumentKind::kNone},
      {u"readme", DocumentKind::kNone},
      {u"docs.txt\\readme", DocumentKind::kNone},
      {u"docs.htm/readme", DocumentKind::kNone},
      {u"", DocumentKind::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wizard::DocumentKindOf(cc::Str(c.name)), c.kind) << cc::Str(c.name).ToUtf8();
  }
}

// The text is exactly the file's bytes: nothing read past them, nothing
// cut at a zero the buffer happens to lack.
TEST(InfoDocumentTest, PlainTextIsExactlyTheBytes) {
  struct Case {
    const char* what;
    std::string bytes;
    const char16_t* text;
  };
  const Case cases[] = {
      {"ANSI (Windows-1252 natively)", std::string("Gr\xFC\xDF" "e\r\n"), u"Gr\u00FC\u00DFe\r\n"},
      {"UTF-8 with its mark", std::string("\xEF\xBB\xBF\xD0\x9C\xD0\xB8\xD1\x80"), u"\u041C\u0438\u0440"},
      {"UTF-16LE with its mark", std::string("\xFF\xFE" "A\0\x1F\x04", 6), u"A\u041F"},
      {"UTF-16BE with its mark", std::string("\xFE\xFF\0A\x04\x1F", 6), u"A\u041F"},
      {"only a mark", std::string("\xEF\xBB\xBF"), u""},
      {"one byte", std::string("x"), u"x"},
  };
  for (const Case& c : cases) {
    // The bytes sit in a larger buffer followed by more text: only the
    // document's own length counts.
    std::string buffer = c.bytes + "TRAILING";
    std::string exact(buffer.data(), c.bytes.size());
    EXPECT_EQ(wizard::PlainDocumentText(exact).View(), std::u16string_view(c.text)) << c.what;
  }
}

}  // namespace
