// cc::win::RTFCreater: turns the small HTML subset that project texts are
// written in (welcome notes, licences, information pages) into RTF for the
// rich-edit control, in one pass and without a document tree. The tags come
// from ui/html_tag_scanner.h, their attributes are read by
// ui/html_attributes.h, and text is escaped by ui/rtf_text.h; this class
// keeps the open elements and writes the document.
//
// Recognised: p, br, b, i, u, s and their end tags; A with href (written as
// link markers that the HTML text box turns into clickable ranges); DIV and
// CENTER (paragraphs and alignment); SPAN and FONT (size, colour, highlight
// from attributes and style declarations); comments, script and style blocks
// and the RTF comment markers are dropped; every other tag is dropped.
// Text between tags is decoded as UTF-8 and shown as written: the backslash
// and braces (RTF's markup characters) are escaped, characters above U+007F written as
// Unicode escapes, and a line break in the source (with the blanks around
// it) becomes one space, as a browser shows it.
//
// The converter reads untrusted bytes: any input, truncated or not, converts
// without reading past its end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/object.h"
#include "ui/html_attributes.h"
#include "ui/html_tag_scanner.h"

namespace cc::win {

class RTFCreater : public cc::Object {
 public:
  RTFCreater();
  ~RTFCreater() override;

  // Converts `input` and returns the RTF text (also kept for Rtf()).
  // `length` is the number of bytes, or negative for up to the first zero
  // byte; a null `input` converts as empty text. `defaultSize` is the font
  // size in half-points. Input of at least 8 bytes that begins with
  // "{\rtf1\" is already RTF and is returned unchanged. Never fails: bytes
  // that are not valid HTML or UTF-8 are converted as text as far as
  // possible (invalid UTF-8 becomes U+FFFD).
  const std::string& Convert(const char* input, int length, int defaultSize);
  // The result of the last conversion ("" before the first).
  const std::string& Rtf() const { return out_; }

  const char16_t* ClassName() const override;

 private:
  // Kinds of the state-stack records.
  enum Kind { kRoot = 0, kDiv = 1, kFont = 2, kSpan = 3, kLink = 4 };
  struct State {
    Kind kind;
    TextFormat format;
  };

  void Reset(int defaultSize);
  void WriteHeader(int defaultSize);
  void Scan();
  // Writes what the tag `token` stands for.
  void ApplyTag(const HtmlTagToken& token);
  void OpenElement(Kind kind, AttributeSet set, std::string_view attributes);
  void OpenLink();
  void CloseLink();
  bool OutputEndsParagraph() const;
  void EndParagraph();
  void Push(Kind kind);
  void Pop(Kind kind);
  void Finish();

  // Writes input bytes [pending_, end) as text, preceded by the format
  // changes it needs, and moves the pending start to `resume`.
  void FlushText(size_t end, size_t resume);
  void WriteFormatChanges();
  void WriteControl(std::string_view word);
  void WriteControlNumber(std::string_view word, int value);
  // Colour-table index of 0xRRGGBB (0 for none), adding a new entry.
  int ColorIndex(int color);

  const char* in_ = nullptr;
  size_t len_ = 0;
  size_t pending_ = 0;  // first input byte not yet written
  std::string out_;
  std::string color_table_;
  std::unordered_map<int, int> color_index_;
  size_t color_table_at_ = 0;  // where the header's placeholder stands
  TextFormat current_;
  TextFormat emitted_;
  std::string link_target_;  // href bytes of the open link
  int link_counter_ = -1;
  bool separator_ = true;  // the next text needs a separating blank
  std::vector<State> stack_;
};

}  // namespace cc::win
