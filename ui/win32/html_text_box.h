// HtmlTextBox: a read-only rich text box that shows a project's HTML text
// (converted to RTF), RTF or plain text, turns the converter's link markers
// into clickable ranges and opens a clicked link once, and only when the
// link policy allows it. Windows flavour only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/str.h"
#include "ui/win32/link_opener.h"
#include "ui/win32/rich_text_box.h"

namespace cc::win {

// The font size HTML text is converted with, in half-points (10 pt).
inline constexpr int kHtmlDefaultSize = 20;

class HtmlTextBox : public RichTextBox {
 public:
  // One clickable range: characters [start, end) showing link `index`.
  struct Link {
    int index = 0;
    int start = 0;
    int end = 0;
    Str target;
  };
  HtmlTextBox();
  const char16_t* ClassName() const override { return u"HtmlTextBox"; }

  // Shows `html` (UTF-8 bytes; `length` below 1 means up to the first zero
  // byte). Data that already begins with "{\rtf1\" is loaded as RTF, any
  // other is converted from HTML with `defaultSize` (half-points). Then the
  // link markers become links. False when the control refused the RTF.
  bool SetHtml(const char* html, int length, int defaultSize = kHtmlDefaultSize);
  // Shows an RTF document and activates its link markers; false when the
  // control refused it.
  bool SetRtf(const std::string& rtf);
  // Shows `text` as it is (no markup, no links).
  void SetPlainText(const Str& text);

  // The links of the shown document, in marker order.
  const std::vector<Link>& Links() const { return links_; }
  // The whole shown text ("" without a window).
  Str PlainText() const;

  // The installed application's folder, asked at the moment of a click
  // (file links open only inside it; none when it returns "").
  void SetAppFolder(std::function<Str()> folder) { appFolder_ = std::move(folder); }
  // Replaces how an allowed target is opened (the shell's "open" verb).
  void SetOpener(LinkOpener opener) { opener_ = std::move(opener); }
  // Receives one line for each link that was opened or refused.
  void SetLogger(LinkLogger log) { log_ = std::move(log); }

  // What a click on the link covering character `position` does: decides
  // with the link policy and opens an allowed target once. Returns true when
  // a target was opened; false for no link there, a refusal (logged) or a
  // failed open.
  bool OpenLinkAt(int position);

 protected:
  void OnCreated() override;
  bool OnNotify(NMHDR* header, LRESULT* result) override;

 private:
  void ActivateLinks();
  bool ActivateLink(int index);
  // Position of `marker` at or after `from` in the control's text, or -1.
  int Find(const std::u16string& marker, int from) const;
  std::u16string TextRange(int start, int end) const;
  void DeleteRange(int start, int end);
  void SetLinkEffect(int start, int end);
  void ResetDefaultFormat();
  Str TargetAt(int position) const;
  bool OpenTarget(const Str& target);

  std::vector<Link> links_;
  std::function<Str()> appFolder_;
  LinkOpener opener_;
  LinkLogger log_;
  std::string pending_;  // the document set before the window existed
};

}  // namespace cc::win
