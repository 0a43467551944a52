// RichTextBox: the platform's rich-edit control ("RichEdit20W") loading RTF
// through a stream callback. Windows flavour only.
#pragma once

#include <string>

#include "ui/win32/common_controls.h"

namespace cc::win {

class RichTextBox : public TextBox {
 public:
  RichTextBox();
  const char16_t* ClassName() const override { return u"RichTextBox"; }
  // Replaces the content with the RTF document `rtf` (plain text when it is
  // not RTF). Stored until the window exists. Returns false when the
  // control refused the stream.
  bool LoadRtf(const std::string& rtf);
  // The character index nearest to the client point x, y; -1 without a window.
  int CharFromPosition(int x, int y) const;
  // The client position of character `index`; false without a window.
  bool PositionFromChar(int index, POINT* out) const;
  // The text length in characters.
  int TextLength() const;

 protected:
  const wchar_t* WindowClass() const override { return L"RichEdit20W"; }
  void OnCreated() override;

 private:
  bool StreamIn();
  std::string rtf_;
};

}  // namespace cc::win
