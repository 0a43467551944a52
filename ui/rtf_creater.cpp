#include "ui/rtf_creater.h"

#include <cstdio>
#include <cstring>

#include "core/code_page.h"

namespace cc::win {

namespace {

constexpr size_t kNpos = std::string::npos;

constexpr std::string_view kRtfSignature = "{\\rtf1\\";
constexpr std::string_view kColorTablePlaceholder = "[#COLOR_TABLE#]";
constexpr std::string_view kRtfCommentStart = "!-- [#~RTF_COMM:S#] -->";
constexpr std::string_view kRtfCommentEnd = "<!-- [#~RTF_COMM:E#] -->";

// Units from here on are written as "\uN ?"; below it the unit is written as
// a byte. Only ASCII may go as a byte: the font table declares a double-byte
// character set, and rich-edit controls decode the text bytes with the
// font's code page, so a raw Latin-1 byte would turn into a different
// character and swallow the next one.
constexpr char16_t kFirstEscapedUnit = 0x80;
constexpr int kMaxNumber = 100000;  // keeps size arithmetic far from overflow

// Opening simple tags: the name followed by ">", "/" or a blank; closing ones
// are matched whole, ">" included. Tried in this order.
struct SimpleTag {
  std::string_view text;
  bool closing;
  std::string_view rtf;
};
constexpr SimpleTag kSimpleTags[] = {
    {"p", false, "\\par"},     {"b", false, "\\b"},
    {"/b>", true, "\\b0"},     {"i", false, "\\i"},
    {"/i>", true, "\\i0"},     {"u", false, "\\ul"},
    {"/u>", true, "\\ulnone"}, {"s", false, "\\strike"},
    {"/s>", true, "\\strike0"}, {"BR", false, "\\par"},
};

// Blocks whose whole content is dropped, with the text that ends each.
struct SkippedBlock {
  std::string_view start;
  std::string_view end;
};
constexpr SkippedBlock kSkippedBlocks[] = {
    {kRtfCommentStart, kRtfCommentEnd},
    {"!--", "-->"},
    {"script", "</script>"},
    {"style", "</style>"},
};

struct Entity {
  std::string_view text;
  char replacement;
};
constexpr Entity kEntities[] = {
    {"&nbsp;", ' '}, {"&quot;", '"'}, {"&amp;", '&'},
    {"&lt;", '<'},   {"&gt;", '>'},   {"&#039;", '\''},
};

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// True when `text` at `at` begins with `word` (ignoring ASCII case).
bool StartsWithAt(std::string_view text, size_t at, std::string_view word) {
  return at <= text.size() && text.size() - at >= word.size() &&
         EqualsIgnoreCase(text.substr(at, word.size()), word);
}

// Position of `needle` (ignoring ASCII case) at or after `from`, or kNpos.
size_t FindIgnoreCase(std::string_view text, size_t from,
                      std::string_view needle) {
  if (needle.empty() || text.size() < needle.size()) return kNpos;
  const char first = LowerAscii(needle[0]);
  for (size_t i = from; i + needle.size() <= text.size(); ++i) {
    if (LowerAscii(text[i]) == first && StartsWithAt(text, i, needle)) {
      return i;
    }
  }
  return kNpos;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// A name found inside a longer word ("bgcolor", "background-color") is not
// that name.
bool AtNameStart(std::string_view text, size_t at) {
  return at == 0 || !IsNameChar(text[at - 1]);
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Leading integer of `s` after blanks, like atoi, saturated at kMaxNumber.
int ParseNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > kMaxNumber) value = kMaxNumber;
  }
  return negative ? -value : value;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = LowerAscii(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "#RRGGBB" as 0xRRGGBB, or -1 when `s` is not exactly that.
int ParseHexColor(std::string_view s) {
  if (s.size() != 7 || s[0] != '#') return -1;
  int value = 0;
  for (size_t i = 1; i < 7; ++i) {
    const int digit = HexDigit(s[i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

// Appends "\uN ?" for one UTF-16 unit.
void AppendEscapedUnit(std::string& out, char16_t unit) {
  char buf[16];
  const int n = std::snprintf(buf, sizeof buf, "\\u%d ?", unit);
  out.append(buf, static_cast<size_t>(n));
}

// Replaces the six character entities in `text`, appending the result to
// `out`. One pass: "&amp;lt;" stays the text "&lt;".
void AppendDecodingEntities(std::string& out, std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t amp = text.find('&', i);
    if (amp == kNpos) break;
    out.append(text, i, amp - i);
    i = amp;
    bool replaced = false;
    for (const Entity& e : kEntities) {
      if (text.compare(amp, e.text.size(), e.text) == 0) {
        out.push_back(e.replacement);
        i = amp + e.text.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out.push_back(text[i++]);
  }
  out.append(text, i, kNpos);
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
  current_ = Format{defaultSize, -1, -1};
  emitted_ = current_;
  alignment_.clear();
  link_target_.clear();
  link_counter_ = -1;
  separator_ = true;
  pending_ = 0;
  gt_origin_ = 0;
  gt_at_ = kNpos;
  gt_known_ = false;
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
  // A "<" as the last byte cannot start a tag; it stays text.
  size_t p = pending_;
  while (len_ >= 2 && p < len_ - 1) {
    const void* hit = std::memchr(in_ + p, '<', len_ - 1 - p);
    if (!hit) break;
    p = static_cast<size_t>(static_cast<const char*>(hit) - in_);
    const size_t next = HandleTag(p);
    p = next == p ? p + 1 : next;
  }
}

size_t RTFCreater::HandleTag(size_t lt) {
  const size_t name = lt + 1;
  size_t next = HandleSimpleTag(lt, name);
  if (next == lt) next = HandleElement(lt, name);
  if (next == lt) next = HandleSkippedBlock(lt, name);
  if (next != lt) return next;
  // Unknown tag: dropped up to its ">". Without one the "<" is plain text.
  const size_t gt = FindGt(name);
  if (gt == kNpos) return lt;
  FlushText(lt, gt + 1);
  return gt + 1;
}

size_t RTFCreater::HandleSimpleTag(size_t lt, size_t name) {
  const std::string_view text(in_, len_);
  for (const SimpleTag& tag : kSimpleTags) {
    if (!StartsWithAt(text, name, tag.text)) continue;
    size_t next = name + tag.text.size();
    if (!tag.closing) {
      if (next >= len_) continue;
      const char after = text[next];
      if (after != '>' && after != '/' && after != ' ') continue;
      const size_t gt = FindGt(next);
      if (gt == kNpos) return lt;  // unterminated: the "<" stays text
      next = gt + 1;
    }
    FlushText(lt, next);
    WriteControl(tag.rtf);
    return next;
  }
  return lt;
}

size_t RTFCreater::OpeningElementEnd(size_t name, std::string_view word,
                                     size_t minBytes) {
  const std::string_view text(in_, len_);
  if (len_ - name < minBytes || !StartsWithAt(text, name, word)) return kNpos;
  const size_t after = name + word.size();
  if (after >= len_ || (text[after] != '>' && text[after] != ' ')) {
    return kNpos;
  }
  return FindGt(after);
}

size_t RTFCreater::HandleElement(size_t lt, size_t name) {
  const std::string_view text(in_, len_);
  // Opening elements: {name, minimum bytes from the name on, kind}.
  struct Opening {
    std::string_view word;
    size_t min_bytes;
    Kind kind;
  };
  static constexpr Opening kOpenings[] = {
      {"a", 3, kLink}, {"div", 5, kDiv}, {"span", 5, kSpan},
      {"font", 6, kFont}};
  struct Closing {
    std::string_view text;
    Kind kind;
  };
  static constexpr Closing kClosings[] = {
      {"/a>", kLink}, {"/div>", kDiv}, {"center>", kRoot},
      {"/center>", kRoot}, {"/span>", kSpan}, {"/font>", kFont}};

  // The table order interleaves openings and closings; the names cannot be
  // confused with each other, so trying all openings first is equivalent.
  for (const Opening& o : kOpenings) {
    const size_t gt = OpeningElementEnd(name, o.word, o.min_bytes);
    if (gt == kNpos) continue;
    FlushText(lt, gt + 1);
    const std::string_view attrs =
        text.substr(name + o.word.size(), gt - name - o.word.size());
    OpenElement(o.kind, attrs);
    return gt + 1;
  }
  for (size_t k = 0; k < std::size(kClosings); ++k) {
    const Closing& c = kClosings[k];
    if (!StartsWithAt(text, name, c.text)) continue;
    const size_t next = name + c.text.size();
    FlushText(lt, next);
    if (c.kind == kLink) {
      Pop(kLink);
      if (!link_target_.empty()) CloseLink();
    } else if (c.kind == kDiv) {
      EndParagraph();
      Pop(kDiv);
    } else if (c.kind == kRoot) {
      EndParagraph();
      if (c.text == "center>") WriteControl("\\qc");
    } else {
      Pop(c.kind);
    }
    return next;
  }
  return lt;
}

void RTFCreater::OpenElement(Kind kind, std::string_view attrs) {
  Push(kind);
  switch (kind) {
    case kLink:
      link_target_.clear();
      ParseAttributes(attrs, kAttrHref);
      if (!link_target_.empty()) OpenLink();
      break;
    case kDiv:
      alignment_.clear();
      ParseAttributes(attrs, kAttrNone);
      // A DIV inside another element starts a paragraph of its own.
      if (stack_.size() >= 3 && !OutputEndsParagraph()) {
        WriteControl("\\par\\pard");
      }
      if (alignment_.size() >= 2) {
        WriteControl(alignment_);
        alignment_.clear();
      }
      break;
    case kFont:
      ParseAttributes(attrs, kAttrFont);
      break;
    default:
      ParseAttributes(attrs, kAttrNone);
      break;
  }
}

size_t RTFCreater::HandleSkippedBlock(size_t lt, size_t name) {
  const std::string_view text(in_, len_);
  for (const SkippedBlock& block : kSkippedBlocks) {
    if (!StartsWithAt(text, name, block.start)) continue;
    // An unterminated block runs to the end of the input, as in a browser.
    const size_t end = FindIgnoreCase(text, name + block.start.size(),
                                      block.end);
    const size_t next = end == kNpos ? len_ : end + block.end.size();
    FlushText(lt, next);
    return next;
  }
  return lt;
}

void RTFCreater::OpenLink() {
  if (separator_) out_ += ' ';
  ++link_counter_;
  out_ += "[#~RTF_LINK_" + std::to_string(link_counter_) + ":S#]";
  WriteLinkTarget(link_target_);
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

// Reads "= value" at `i` of `attrs`: blanks and tabs around "=", the value
// quoted with ' or " (up to the same quote or a line end) or bare (up to a
// quote, blank, tab or line end). Returns false when no "=" follows.
bool RTFCreater::ReadAttributeValue(std::string_view attrs, size_t* i,
                                    std::string_view* value) {
  size_t k = *i;
  while (k < attrs.size() && IsBlank(attrs[k])) ++k;
  if (k >= attrs.size() || attrs[k] != '=') return false;
  ++k;
  while (k < attrs.size() && IsBlank(attrs[k])) ++k;
  size_t start = k, end = k;
  if (k < attrs.size() && (attrs[k] == '"' || attrs[k] == '\'')) {
    const char quote = attrs[k];
    start = end = k + 1;
    while (end < attrs.size() && attrs[end] != quote && !IsLineEnd(attrs[end]))
      ++end;
    *i = end < attrs.size() && attrs[end] == quote ? end + 1 : end;
  } else {
    while (end < attrs.size() && !IsBlank(attrs[end]) &&
           !IsLineEnd(attrs[end]) && attrs[end] != '"' && attrs[end] != '\'')
      ++end;
    *i = end;
  }
  *value = attrs.substr(start, end - start);
  return true;
}

void RTFCreater::ParseAttributes(std::string_view attrs, AttrSet set) {
  enum Name { kSize, kColor, kHref, kAlign, kStyle };
  struct Known {
    std::string_view name;
    Name id;
    int needs;  // AttrSet bit, 0 = every element
  };
  static constexpr Known kKnown[] = {{"size", kSize, kAttrFont},
                                     {"color", kColor, kAttrFont},
                                     {"href", kHref, kAttrHref},
                                     {"align", kAlign, 0},
                                     {"style", kStyle, 0}};
  size_t i = 0;
  while (i < attrs.size()) {
    const Known* hit = nullptr;
    if (AtNameStart(attrs, i)) {
      for (const Known& k : kKnown) {
        if ((k.needs == 0 || (k.needs & set)) &&
            StartsWithAt(attrs, i, k.name)) {
          hit = &k;
          break;
        }
      }
    }
    if (!hit) {
      ++i;
      continue;
    }
    i += hit->name.size();
    std::string_view value;
    if (!ReadAttributeValue(attrs, &i, &value)) continue;
    switch (hit->id) {
      case kSize:
        if (!value.empty()) current_.size = ParseNumber(value) * 6;
        break;
      case kColor:
        if (const int c = ParseHexColor(value); c >= 0) current_.color = c;
        break;
      case kHref:
        link_target_.assign(value);
        break;
      case kAlign:
        alignment_.assign(value);
        break;
      case kStyle:
        if (value.size() > 5) ParseStyle(value);
        break;
    }
  }
  ApplyPendingAlignment();
}

void RTFCreater::ParseStyle(std::string_view style) {
  enum Name { kFontSize, kColor, kBackground, kTextAlign };
  struct Known {
    std::string_view name;
    Name id;
  };
  static constexpr Known kKnown[] = {{"font-size", kFontSize},
                                     {"color", kColor},
                                     {"background", kBackground},
                                     {"text-align", kTextAlign}};
  size_t i = 0;
  while (i < style.size()) {
    const Known* hit = nullptr;
    if (AtNameStart(style, i)) {
      for (const Known& k : kKnown) {
        if (StartsWithAt(style, i, k.name)) {
          hit = &k;
          break;
        }
      }
    }
    if (!hit) {
      ++i;
      continue;
    }
    i += hit->name.size();
    size_t k = i;
    while (k < style.size() && IsBlank(style[k])) ++k;
    if (k >= style.size() || style[k] != ':') continue;  // no value
    size_t end = style.find(';', k + 1);
    if (end == kNpos) end = style.size();
    const std::string_view value = TrimBlanks(style.substr(k + 1, end - k - 1));
    i = end;
    switch (hit->id) {
      case kFontSize:
        current_.size = ParseNumber(value) * 2;
        break;
      case kColor:
        if (const int c = ParseHexColor(value); c >= 0) current_.color = c;
        break;
      case kBackground:
        if (const int c = ParseHexColor(value); c >= 0) current_.highlight = c;
        break;
      case kTextAlign:
        alignment_.assign(value);
        break;
    }
  }
}

void RTFCreater::ApplyPendingAlignment() {
  if (alignment_.size() <= 1) {
    alignment_.clear();
  } else if (EqualsIgnoreCase(alignment_, "left")) {
    alignment_ = "\\ql";
  } else if (EqualsIgnoreCase(alignment_, "center")) {
    alignment_ = "\\qc";
  } else if (EqualsIgnoreCase(alignment_, "right")) {
    alignment_ = "\\qr";
  } else {
    alignment_.clear();
  }
}

void RTFCreater::FlushText(size_t end, size_t resume) {
  if (end > pending_) {
    WriteFormatChanges();
    if (separator_) out_ += ' ';
    WriteText(std::string_view(in_ + pending_, end - pending_));
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

void RTFCreater::WriteText(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    size_t run = i;
    while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80)
      ++run;
    WriteAsciiText(bytes.substr(i, run - i));
    i = run;
    // ASCII never continues a UTF-8 sequence, so the non-ASCII run decodes
    // on its own.
    while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) >= 0x80)
      ++run;
    for (const char16_t unit : Utf8ToUtf16(bytes.substr(i, run - i))) {
      AppendEscapedUnit(out_, unit);
    }
    i = run;
  }
}

void RTFCreater::WriteAsciiText(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t special = text.find_first_of("\\{}\r\n", i);
    const size_t stop = special == kNpos ? text.size() : special;
    out_.append(text, i, stop - i);
    if (special == kNpos) break;
    const char c = text[special];
    if (c == '\r' || c == '\n') {
      // A line break in the source is a space on the page, as in a browser;
      // the blanks around it go with it. (RTF itself ignores line ends, so
      // copied raw it would run the words on both sides together.)
      size_t blanks = 0;
      while (blanks < stop - i && IsBlank(text[stop - 1 - blanks])) ++blanks;
      out_.resize(out_.size() - blanks);
      i = special;
      while (i < text.size() && (IsBlank(text[i]) || text[i] == '\r' || text[i] == '\n')) ++i;
      // At the start of a line a browser shows no space either.
      if (!AtLineStart()) out_ += ' ';
    } else {
      // RTF's own special characters are text here, not markup.
      out_ += '\\';
      out_ += c;
      i = special + 1;
    }
  }
}

namespace {

// Whether `out` ends with the control word `word` (not with text that
// reads the same after an escaped backslash).
bool EndsWithControl(std::string_view out, std::string_view word) {
  if (!out.ends_with(word)) return false;
  const size_t at = out.size() - word.size();
  size_t slashes = 0;
  while (slashes < at && out[at - 1 - slashes] == '\\') ++slashes;
  return slashes % 2 == 0;
}

}  // namespace

bool RTFCreater::AtLineStart() const {
  std::string_view out(out_);
  if (out.ends_with(' ')) out.remove_suffix(1);  // the separating blank
  return EndsWithControl(out, "\\par") || EndsWithControl(out, "\\pard");
}

void RTFCreater::WriteLinkTarget(std::string_view bytes) {
  // Unlike page text, a link target is data: RTF's special characters are
  // escaped so that the text box reads back exactly the href.
  for (const char16_t u : Utf8ToUtf16(bytes)) {
    if (u == '\\' || u == '{' || u == '}') {
      out_ += '\\';
      out_ += static_cast<char>(u);
    } else if (u < kFirstEscapedUnit) {
      out_ += static_cast<char>(u);
    } else {
      AppendEscapedUnit(out_, u);
    }
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

size_t RTFCreater::FindGt(size_t from) {
  // Remembers the last answer so that a run of unterminated "<" stays
  // linear.
  if (gt_known_ && gt_origin_ <= from && (gt_at_ == kNpos || gt_at_ >= from)) {
    return gt_at_;
  }
  gt_origin_ = from;
  gt_known_ = true;
  gt_at_ = kNpos;
  if (from < len_) {
    const void* hit = std::memchr(in_ + from, '>', len_ - from);
    if (hit) gt_at_ = static_cast<size_t>(static_cast<const char*>(hit) - in_);
  }
  return gt_at_;
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
