// The converter's output read by the platform's own rich-edit control: the
// text, colours and bold runs it shows must be the ones the HTML asked for.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/rtf_creater.h"

namespace cc::win {
namespace {

static_assert(sizeof(wchar_t) == 2, "Win32 wide text is UTF-16");

struct StreamSource {
  const std::string* data;
  size_t offset;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG wanted,
                       LONG* given) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  const size_t left = source->data->size() - source->offset;
  const size_t n = left < static_cast<size_t>(wanted) ? left : wanted;
  memcpy(buffer, source->data->data() + source->offset, n);
  source->offset += n;
  *given = static_cast<LONG>(n);
  return 0;
}

// A hidden rich-edit control holding one RTF document.
class RichEdit {
 public:
  RichEdit() {
    module_ = LoadLibraryW(L"riched20.dll");
    hwnd_ = CreateWindowExW(0, L"RichEdit20W", L"", WS_POPUP | ES_MULTILINE,
                            0, 0, 400, 300, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    // The RTF does not reset the character format, so the control's own
    // default shows through; Wine's default is bold.
    CHARFORMAT2W plain{};
    plain.cbSize = sizeof plain;
    plain.dwMask = CFM_BOLD;
    if (hwnd_) {
      SendMessageW(hwnd_, EM_SETCHARFORMAT, SCF_DEFAULT,
                   reinterpret_cast<LPARAM>(&plain));
    }
  }
  ~RichEdit() {
    if (hwnd_) DestroyWindow(hwnd_);
    if (module_) FreeLibrary(module_);
  }
  bool ok() const { return hwnd_ != nullptr; }

  bool Load(const std::string& rtf) {
    StreamSource source{&rtf, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadRtf;
    SendMessageW(hwnd_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
  }

  std::wstring Text() const {
    GETTEXTLENGTHEX len{GTL_DEFAULT, 1200};
    const LRESULT n = SendMessageW(hwnd_, EM_GETTEXTLENGTHEX,
                                   reinterpret_cast<WPARAM>(&len), 0);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    SendMessageW(hwnd_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
  }

  // Character format of the character at `pos`.
  CHARFORMAT2W FormatAt(LONG pos) const {
    CHARRANGE range{pos, pos + 1};
    SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(hwnd_, EM_GETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format));
    return format;
  }

 private:
  HMODULE module_ = nullptr;
  HWND hwnd_ = nullptr;
};

std::string Convert(const std::string& html) {
  RTFCreater creater;
  return creater.Convert(html.data(), static_cast<int>(html.size()), 20);
}

TEST(RTFCreaterRichEditTest, TextReadsBack) {
  struct Case {
    const char* what;
    std::string html;
    std::wstring text;
  };
  const Case cases[] = {
      {"plain and bold", "<b>bold</b> text", L"bold text"},
      {"entities", "&lt;a&gt; &amp; &quot;q&quot;", L"<a> & \"q\""},
      {"Latin-1 letters", "Gr\xC3\xB6\xC3\x9F" "e \xC3\xA9t\xC3\xA9",
       L"Gr\u00F6\u00DFe \u00E9t\u00E9"},
      {"dash and CJK", "\xE2\x80\x94 \xE4\xBE\xA1\xE6\xA0\xBC",
       L"\u2014 \u4FA1\u683C"},
      {"outside the BMP", "a\xF0\x9F\x98\x80" "b", L"a\U0001F600b"},
      {"paragraphs", "a<br>b<p>c", L"a\rb\rc"},
      {"link target escaped",
       "<a href=\"C:\\d\\{x}\">t</a>",
       L"[#~RTF_LINK_0:S#]C:\\d\\{x}[#~RTF_LINK_:URL#]t[#~RTF_LINK_0:E#]"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    RichEdit edit;
    ASSERT_TRUE(edit.ok());
    ASSERT_TRUE(edit.Load(Convert(cases[i].html))) << "case " << i;
    std::wstring text = edit.Text();
    while (!text.empty() && text.back() == L'\r') text.pop_back();
    EXPECT_EQ(text, cases[i].text) << "case " << i << ": " << cases[i].what;
  }
}

TEST(RTFCreaterRichEditTest, ColoursAndBold) {
  RichEdit edit;
  ASSERT_TRUE(edit.ok());
  ASSERT_TRUE(edit.Load(Convert(
      "<font color=#ff0000>r<font color=#0000ff>b</font>R</font>"
      "<span style=\"background:#ffff00\">h</span><b>B</b>n")));
  ASSERT_EQ(edit.Text().substr(0, 6), L"rbRhBn");
  struct Case {
    LONG pos;
    COLORREF color;  // 0 with auto colour = default text colour
    bool autoColor;
    bool bold;
  };
  const Case cases[] = {
      {0, RGB(255, 0, 0), false, false}, {1, RGB(0, 0, 255), false, false},
      {2, RGB(255, 0, 0), false, false}, {3, 0, true, false},
      {4, 0, true, true},                {5, 0, true, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const CHARFORMAT2W f = edit.FormatAt(cases[i].pos);
    if (cases[i].autoColor) {
      EXPECT_TRUE((f.dwEffects & CFE_AUTOCOLOR) || f.crTextColor == 0)
          << "case " << i;
    } else {
      EXPECT_EQ(f.crTextColor, cases[i].color) << "case " << i;
    }
    EXPECT_EQ((f.dwEffects & CFE_BOLD) != 0, cases[i].bold) << "case " << i;
  }
  const CHARFORMAT2W highlighted = edit.FormatAt(3);
  EXPECT_EQ(highlighted.crBackColor, RGB(255, 255, 0));
}

}  // namespace
}  // namespace cc::win
