#include "ui/rtf_text.h"

#include <cstdio>

#include "core/code_page.h"
#include "ui/html_ascii.h"

namespace cc::win {

namespace {

constexpr size_t kNpos = std::string_view::npos;

// Units from here on are written as "\uN ?"; below it the unit is a byte.
constexpr char16_t kFirstEscapedUnit = 0x80;

struct Entity {
  std::string_view text;
  char replacement;
};
constexpr Entity kEntities[] = {
    {"&nbsp;", ' '}, {"&quot;", '"'}, {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&#039;", '\''},
};

void AppendEscapedUnit(std::string& out, char16_t unit) {
  char buf[16];
  const int n = std::snprintf(buf, sizeof buf, "\\u%d ?", unit);
  out.append(buf, static_cast<size_t>(n));
}

// Whether `out` ends with the control word `word` (not with text that
// reads the same after an escaped backslash).
bool EndsWithControl(std::string_view out, std::string_view word) {
  if (!out.ends_with(word)) return false;
  const size_t at = out.size() - word.size();
  size_t slashes = 0;
  while (slashes < at && out[at - 1 - slashes] == '\\') ++slashes;
  return slashes % 2 == 0;
}

// True when nothing but a separating blank follows the last paragraph or
// line break written.
bool AtLineStart(std::string_view out) {
  if (out.ends_with(' ')) out.remove_suffix(1);  // the separating blank
  return EndsWithControl(out, "\\par") || EndsWithControl(out, "\\pard");
}

void AppendAsciiText(std::string& out, std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t special = text.find_first_of("\\{}\r\n", i);
    const size_t stop = special == kNpos ? text.size() : special;
    out.append(text, i, stop - i);
    if (special == kNpos) break;
    const char c = text[special];
    if (IsLineEnd(c)) {
      // Copied raw, a line end would run the words on both sides together.
      size_t blanks = 0;
      while (blanks < stop - i && IsBlank(text[stop - 1 - blanks])) ++blanks;
      out.resize(out.size() - blanks);
      i = special;
      while (i < text.size() && (IsBlank(text[i]) || IsLineEnd(text[i]))) ++i;
      // At the start of a line a browser shows no space either.
      if (!AtLineStart(out)) out += ' ';
    } else {
      // RTF's own special characters are text here, not markup.
      out += '\\';
      out += c;
      i = special + 1;
    }
  }
}

}  // namespace

void AppendRtfText(std::string& out, std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    size_t run = i;
    while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < kFirstEscapedUnit) ++run;
    AppendAsciiText(out, bytes.substr(i, run - i));
    i = run;
    // ASCII never continues a UTF-8 sequence, so the non-ASCII run decodes
    // on its own.
    while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) >= kFirstEscapedUnit) ++run;
    for (const char16_t unit : Utf8ToUtf16(bytes.substr(i, run - i))) AppendEscapedUnit(out, unit);
    i = run;
  }
}

void AppendRtfLinkTarget(std::string& out, std::string_view bytes) {
  for (const char16_t u : Utf8ToUtf16(bytes)) {
    if (u == '\\' || u == '{' || u == '}') {
      out += '\\';
      out += static_cast<char>(u);
    } else if (u < kFirstEscapedUnit) {
      out += static_cast<char>(u);
    } else {
      AppendEscapedUnit(out, u);
    }
  }
}

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

}  // namespace cc::win
