#include "ui/win32/html_text_box.h"

#include <richedit.h>

#include <cstring>

#include "ui/rtf_creater.h"

namespace cc::win {
namespace {

constexpr char16_t kLinkUrlMarker[] = u"[#~RTF_LINK_:URL#]";

std::u16string LinkMarker(int index, char16_t kind) {
  return std::u16string(Str::Formatted(u"[#~RTF_LINK_%d:%c#]", index, kind).View());
}

// Hands UTF-16 text to the control as it is, so that nothing in it (a
// leading "{\rtf", say) is read as markup.
struct PlainTextCookie {
  const std::u16string* text;
  size_t offset;  // in bytes
};

DWORD CALLBACK ReadPlainText(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
  auto* c = reinterpret_cast<PlainTextCookie*>(cookie);
  const size_t total = c->text->size() * sizeof(char16_t);
  size_t n = total - c->offset;
  if (n > static_cast<size_t>(size)) n = static_cast<size_t>(size) & ~size_t{1};
  std::memcpy(buffer, reinterpret_cast<const char*>(c->text->data()) + c->offset, n);
  c->offset += n;
  *read = static_cast<LONG>(n);
  return 0;
}

}  // namespace

HtmlTextBox::HtmlTextBox() = default;

bool HtmlTextBox::SetHtml(const char* html, int length, int defaultSize) {
  if (html == nullptr) length = 0;
  if (length < 1) length = html == nullptr ? 0 : static_cast<int>(std::strlen(html));
  RTFCreater creater;
  return SetRtf(creater.Convert(html, length, defaultSize));
}

bool HtmlTextBox::SetRtf(const std::string& rtf) {
  links_.clear();
  if (!Created()) {
    pending_ = rtf;
    return true;
  }
  ResetDefaultFormat();
  bool loaded = LoadRtf(rtf);
  ActivateLinks();
  return loaded;
}

void HtmlTextBox::SetPlainText(const Str& text) {
  links_.clear();
  pending_.clear();
  LoadRtf(std::string());  // the box holds no RTF document any more
  std::u16string units(text.View());
  if (!Created()) {
    Control::SetText(Str(units));
    return;
  }
  ResetDefaultFormat();
  PlainTextCookie cookie{&units, 0};
  EDITSTREAM stream = {};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
  stream.pfnCallback = ReadPlainText;
  SendMessageW(hwnd_, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
}

Str HtmlTextBox::PlainText() const {
  if (!Created()) return Str(u"");
  return Str(TextRange(0, TextLength()));
}

void HtmlTextBox::OnCreated() {
  RichTextBox::OnCreated();
  // The links are the document's own: a recognised address would be one
  // more link without a target, and the control's re-scan after an edit
  // clears the link effect of every range it does not recognise.
  SendMessageW(hwnd_, EM_AUTOURLDETECT, FALSE, 0);
  if (!pending_.empty()) {
    std::string rtf;
    rtf.swap(pending_);
    SetRtf(rtf);
  }
}

// Wine's rich edit starts bold unless the document resets the format; the
// converter's documents do not, so the default is made plain first.
void HtmlTextBox::ResetDefaultFormat() {
  CHARFORMAT2W format = {};
  format.cbSize = sizeof format;
  format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_LINK;
  SendMessageW(hwnd_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  SendMessageW(hwnd_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

void HtmlTextBox::ActivateLinks() {
  links_.clear();
  SendMessageW(hwnd_, EM_HIDESELECTION, TRUE, 0);
  // Deleting the markers is an edit the user may not make; the box is
  // writable only while it is done.
  const bool readOnly = (GetWindowLongW(hwnd_, GWL_STYLE) & ES_READONLY) != 0;
  if (readOnly) SendMessageW(hwnd_, EM_SETREADONLY, FALSE, 0);
  for (int index = 0; ActivateLink(index); ++index) {
  }
  if (readOnly) SendMessageW(hwnd_, EM_SETREADONLY, TRUE, 0);
  CHARRANGE caret = {0, 0};
  SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  SendMessageW(hwnd_, EM_HIDESELECTION, FALSE, 0);
}

bool HtmlTextBox::ActivateLink(int index) {
  const std::u16string startMarker = LinkMarker(index, u'S');
  const int start = Find(startMarker, 0);
  if (start < 0) return false;
  const int url = Find(kLinkUrlMarker, start);
  if (url < 0) return false;
  Link link;
  link.index = index;
  link.start = start;
  link.target = Str(TextRange(start + static_cast<int>(startMarker.size()), url));
  DeleteRange(start, url + static_cast<int>(std::char_traits<char16_t>::length(kLinkUrlMarker)));
  const std::u16string endMarker = LinkMarker(index, u'E');
  const int end = Find(endMarker, start);
  if (end < 0) return false;  // an unclosed link stays as marker text
  DeleteRange(end, end + static_cast<int>(endMarker.size()));
  link.end = end;
  SetLinkEffect(start, end);
  links_.push_back(link);
  return true;
}

int HtmlTextBox::Find(const std::u16string& marker, int from) const {
  FINDTEXTEXW find = {};
  find.chrg.cpMin = from;
  find.chrg.cpMax = -1;
  find.lpstrText = reinterpret_cast<const wchar_t*>(marker.c_str());
  return static_cast<int>(
      SendMessageW(hwnd_, EM_FINDTEXTEXW, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find)));
}

std::u16string HtmlTextBox::TextRange(int start, int end) const {
  if (end <= start) return std::u16string();
  std::u16string text(static_cast<size_t>(end - start) + 1, u'\0');
  TEXTRANGEW range = {};
  range.chrg.cpMin = start;
  range.chrg.cpMax = end;
  range.lpstrText = reinterpret_cast<wchar_t*>(text.data());
  LRESULT copied = SendMessageW(hwnd_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

void HtmlTextBox::DeleteRange(int start, int end) {
  CHARRANGE range = {start, end};
  SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
}

void HtmlTextBox::SetLinkEffect(int start, int end) {
  CHARRANGE range = {start, end};
  SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  CHARFORMAT2W format = {};
  format.cbSize = sizeof format;
  format.dwMask = CFM_LINK;
  format.dwEffects = CFE_LINK;
  SendMessageW(hwnd_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

Str HtmlTextBox::TargetAt(int position) const {
  for (const Link& link : links_) {
    if (position >= link.start && position < link.end) return link.target;
  }
  return Str();
}

bool HtmlTextBox::OpenLinkAt(int position) {
  Str target = TargetAt(position);
  return !target.IsNull() && OpenTarget(target);
}

bool HtmlTextBox::OpenTarget(const Str& target) {
  return OpenLink(target, appFolder_ ? appFolder_() : Str(u""), opener_, log_);
}

bool HtmlTextBox::OnNotify(NMHDR* header, LRESULT* result) {
  if (header->code != EN_LINK) return RichTextBox::OnNotify(header, result);
  auto* link = reinterpret_cast<ENLINK*>(header);
  // One click opens once: on the button's release, and nowhere else.
  if (link->msg == WM_LBUTTONUP) OpenLinkAt(link->chrg.cpMin);
  *result = 0;
  return true;
}

}  // namespace cc::win
