#include "ui/win32/rich_text_box.h"

#include <richedit.h>

#include <cstring>

namespace cc::win {
namespace {

// The stream cookie: the document and how much of it was handed out.
struct RichTextBoxStreamCookie {
  const std::string* text;
  size_t offset;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
  auto* c = reinterpret_cast<RichTextBoxStreamCookie*>(cookie);
  size_t left = c->text->size() - c->offset;
  size_t n = left < static_cast<size_t>(size) ? left : static_cast<size_t>(size);
  std::memcpy(buffer, c->text->data() + c->offset, n);
  c->offset += n;
  *read = static_cast<LONG>(n);
  return 0;
}

}  // namespace

RichTextBox::RichTextBox() {
  // The rich-edit class lives in its own library, loaded on first use.
  static HMODULE library = LoadLibraryW(L"riched20.dll");
  (void)library;
  SetMultiline(true);
  SetReadOnly(true);
}

bool RichTextBox::LoadRtf(const std::string& rtf) {
  rtf_ = rtf;
  return Created() ? StreamIn() : true;
}

bool RichTextBox::StreamIn() {
  RichTextBoxStreamCookie cookie{&rtf_, 0};
  EDITSTREAM stream = {};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
  stream.pfnCallback = ReadChunk;
  bool isRtf = rtf_.compare(0, 5, "{\\rtf") == 0;
  SendMessageW(hwnd_, EM_STREAMIN, isRtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0;
}

void RichTextBox::OnCreated() {
  SendMessageW(hwnd_, EM_SETEVENTMASK, 0, ENM_LINK | ENM_CHANGE);
  SendMessageW(hwnd_, EM_AUTOURLDETECT, TRUE, 0);
  if (!rtf_.empty()) StreamIn();
}

int RichTextBox::CharFromPosition(int x, int y) const {
  if (!Created()) return -1;
  POINTL point = {x, y};
  return static_cast<int>(SendMessageW(hwnd_, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point)));
}

bool RichTextBox::PositionFromChar(int index, POINT* out) const {
  if (!Created()) return false;
  POINTL point = {};
  SendMessageW(hwnd_, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), index);
  out->x = point.x;
  out->y = point.y;
  return true;
}

int RichTextBox::TextLength() const {
  if (!Created()) return 0;
  GETTEXTLENGTHEX query = {GTL_DEFAULT, 1200};
  return static_cast<int>(SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

}  // namespace cc::win
