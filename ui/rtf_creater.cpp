#include "ui/rtf_creater.h"

#include <cstdio>
#include <cstring>

#include "ui/rtf_text.h"

namespace cc::win {

namespace {

constexpr std::string_view kRtfSignature = "{\\rtf1\\";
constexpr std::string_view kColorTablePlaceholder = "[#COLOR_TABLE#]";

// Tags that are a control word and nothing else.
struct ControlTag {
  HtmlTag tag;
  std::string_view rtf;
};
constexpr ControlTag kControlTags[] = {
    {HtmlTag::kParagraph, "\\par"},       {HtmlTag::kLineBreak, "\\par"},
    {HtmlTag::kBold, "\\b"},              {HtmlTag::kBoldEnd, "\\b0"},
    {HtmlTag::kItalic, "\\i"},            {HtmlTag::kItalicEnd, "\\i0"},
    {HtmlTag::kUnderline, "\\ul"},        {HtmlTag::kUnderlineEnd, "\\ulnone"},
    {HtmlTag::kStrike, "\\strike"},       {HtmlTag::kStrikeEnd, "\\strike0"},
};

std::string_view AlignmentControl(TextAlign align) {
  switch (align) {
    case TextAlign::kLeft:
      return "\\ql";
    case TextAlign::kCenter:
      return "\\qc";
    case TextAlign::kRight:
      return "\\qr";
    case TextAlign::kNone:
      break;
  }
  return {};
}

}  // namespace

RTFCreater::RTFCreater() = default;
RTFCreater::~RTFCreater() = default;

const char16_t* RTFCreater::ClassName() const { return u"RTFCreater"; }

const std::string& RTFCreater::Convert(const char* input, int length,
                                       int defaultSize) {
  in_ = input ? input : "";
  len_ = length < 0 ? std::strlen(in_)
                    : (input ? static_cast<size_t>(length) : 0);
  Reset(defaultSize);
  WriteHeader(defaultSize);
  const std::string_view text(in_, len_);
  if (len_ >= 8 && text.substr(0, kRtfSignature.size()) == kRtfSignature) {
    out_.assign(text);
    return out_;
  }
  Push(kRoot);
  if (len_ >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') ||
                    (text[0] == '\xFE' && text[1] == '\xFF'))) {
    pending_ = 2;
  } else if (len_ >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
    pending_ = 3;
  }
  Scan();
  Finish();
  return out_;
}

void RTFCreater::Reset(int defaultSize) {
  out_.clear();
  out_.reserve(2 * len_ + 2);
  color_table_.clear();
  color_index_.clear();
  stack_.clear();
  current_ = TextFormat{defaultSize, -1, -1};
  emitted_ = current_;
  link_target_.clear();
  link_counter_ = -1;
  separator_ = true;
  pending_ = 0;
}

void RTFCreater::WriteHeader(int defaultSize) {
  out_ += "{\\rtf1\\ansi\\deff0";
  out_ += "{\\fonttbl{\\f0\\fmodern\\fprq2\\fcharset128 MS UI Gothic;}}\r\n";
  out_ += "{\\colortbl ;";
  color_table_at_ = out_.size();
  out_ += kColorTablePlaceholder;
  out_ += "}\r\n";
  out_ += "\\viewkind4";
  WriteControlNumber("\\fs", defaultSize);
  separator_ = true;
}

void RTFCreater::Scan() {
  HtmlTagScanner scanner(std::string_view(in_, len_), pending_);
  HtmlTagToken token;
  while (scanner.Next(&token)) {
    FlushText(token.begin, token.end);
    ApplyTag(token);
  }
}

void RTFCreater::ApplyTag(const HtmlTagToken& token) {
  for (const ControlTag& control : kControlTags) {
    if (control.tag == token.tag) return WriteControl(control.rtf);
  }
  switch (token.tag) {
    case HtmlTag::kLinkStart:
      return OpenElement(kLink, AttributeSet::kHref, token.attributes);
    case HtmlTag::kDivStart:
      return OpenElement(kDiv, AttributeSet::kCommon, token.attributes);
    case HtmlTag::kSpanStart:
      return OpenElement(kSpan, AttributeSet::kCommon, token.attributes);
    case HtmlTag::kFontStart:
      return OpenElement(kFont, AttributeSet::kFont, token.attributes);
    case HtmlTag::kLinkEnd:
      Pop(kLink);
      if (!link_target_.empty()) CloseLink();
      return;
    case HtmlTag::kDivEnd:
      EndParagraph();
      return Pop(kDiv);
    case HtmlTag::kCenterStart:
      EndParagraph();
      return WriteControl("\\qc");
    case HtmlTag::kCenterEnd:
      return EndParagraph();
    case HtmlTag::kSpanEnd:
      return Pop(kSpan);
    case HtmlTag::kFontEnd:
      return Pop(kFont);
    default:
      return;
  }
}

void RTFCreater::OpenElement(Kind kind, AttributeSet set, std::string_view attributes) {
  Push(kind);
  const ElementAttributes read = ReadElementAttributes(attributes, set, &current_);
  if (kind == kLink) {
    link_target_ = read.href;
    if (!link_target_.empty()) OpenLink();
  } else if (kind == kDiv) {
    // A DIV inside another element starts a paragraph of its own.
    if (stack_.size() >= 3 && !OutputEndsParagraph()) WriteControl("\\par\\pard");
    if (read.align != TextAlign::kNone) WriteControl(AlignmentControl(read.align));
  }
}

void RTFCreater::OpenLink() {
  if (separator_) out_ += ' ';
  ++link_counter_;
  out_ += "[#~RTF_LINK_" + std::to_string(link_counter_) + ":S#]";
  AppendRtfLinkTarget(out_, link_target_);
  out_ += "[#~RTF_LINK_:URL#]";
  separator_ = false;
}

void RTFCreater::CloseLink() {
  if (separator_) out_ += ' ';
  out_ += "[#~RTF_LINK_" + std::to_string(link_counter_) + ":E#]";
  separator_ = false;
  // The link is closed: a stray second end tag must not write its marker
  // again.
  link_target_.clear();
}

bool RTFCreater::OutputEndsParagraph() const {
  const std::string_view out(out_);
  return out.ends_with("\\par") || out.ends_with("\\par\\pard");
}

void RTFCreater::EndParagraph() {
  if (!OutputEndsParagraph()) WriteControl("\\par\\pard");
}

void RTFCreater::Push(Kind kind) { stack_.push_back(State{kind, current_}); }

void RTFCreater::Pop(Kind kind) {
  // An end tag that does not close the innermost element is ignored. The
  // restored format is compared with what was last written, so the next
  // text gets exactly the control words it needs.
  if (stack_.empty() || stack_.back().kind != kind) return;
  current_ = stack_.back().format;
  stack_.pop_back();
}

void RTFCreater::FlushText(size_t end, size_t resume) {
  if (end > pending_) {
    WriteFormatChanges();
    if (separator_) out_ += ' ';
    AppendRtfText(out_, std::string_view(in_ + pending_, end - pending_));
    separator_ = false;
  }
  pending_ = resume;
}

void RTFCreater::WriteFormatChanges() {
  if (current_.color != emitted_.color) {
    WriteControlNumber("\\cf", ColorIndex(current_.color));
    emitted_.color = current_.color;
  }
  if (current_.highlight != emitted_.highlight) {
    WriteControlNumber("\\highlight", ColorIndex(current_.highlight));
    emitted_.highlight = current_.highlight;
  }
  if (current_.size != emitted_.size) {
    emitted_.size = current_.size;
    if (current_.size > 0) WriteControlNumber("\\fs", current_.size);
  }
}

void RTFCreater::WriteControl(std::string_view word) {
  out_ += word;
  separator_ = true;
}

void RTFCreater::WriteControlNumber(std::string_view word, int value) {
  out_ += word;
  out_ += std::to_string(value);
  separator_ = true;
}

int RTFCreater::ColorIndex(int color) {
  if (color < 0) return 0;
  const auto found = color_index_.find(color);
  if (found != color_index_.end()) return found->second;
  char entry[64];
  const int n = std::snprintf(entry, sizeof entry, "\\red%d\\green%d\\blue%d;",
                              (color >> 16) & 0xFF, (color >> 8) & 0xFF,
                              color & 0xFF);
  color_table_.append(entry, static_cast<size_t>(n));
  const int index = static_cast<int>(color_index_.size()) + 1;
  color_index_.emplace(color, index);
  return index;
}

void RTFCreater::Finish() {
  FlushText(len_, len_);
  out_ += "}\r\n";
  std::string result;
  result.reserve(out_.size() + color_table_.size());
  result.append(out_, 0, color_table_at_);
  result += color_table_;
  AppendDecodingEntities(
      result, std::string_view(out_).substr(color_table_at_ +
                                            kColorTablePlaceholder.size()));
  out_.swap(result);
}

}  // namespace cc::win
