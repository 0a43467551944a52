#include "ui/html_attributes.h"

#include "ui/html_ascii.h"

namespace cc::win {

namespace {

constexpr size_t kNpos = std::string_view::npos;
constexpr int kMaxNumber = 100000;  // keeps size arithmetic far from overflow

// Attributes and style declarations share one reading loop; a field says
// which element takes it (kCommon: every element).
enum class Field { kSize, kColor, kHref, kAlign, kStyle, kFontSize, kBackground, kTextAlign };
struct NamedField {
  std::string_view name;
  Field field;
  AttributeSet taken_by;
};
constexpr NamedField kAttributes[] = {
    {"size", Field::kSize, AttributeSet::kFont},     {"color", Field::kColor, AttributeSet::kFont},
    {"href", Field::kHref, AttributeSet::kHref},     {"align", Field::kAlign, AttributeSet::kCommon},
    {"style", Field::kStyle, AttributeSet::kCommon},
};
constexpr NamedField kDeclarations[] = {
    {"font-size", Field::kFontSize, AttributeSet::kCommon},
    {"color", Field::kColor, AttributeSet::kCommon},
    {"background", Field::kBackground, AttributeSet::kCommon},
    {"text-align", Field::kTextAlign, AttributeSet::kCommon},
};
// A style attribute this short cannot hold a declaration.
constexpr size_t kMinStyleLength = 6;

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

// A name found inside a longer word ("bgcolor", "background-color") is not
// that name.
bool AtNameStart(std::string_view text, size_t at) { return at == 0 || !IsNameChar(text[at - 1]); }

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

TextAlign ParseAlign(std::string_view s) {
  if (EqualsIgnoreCase(s, "left")) return TextAlign::kLeft;
  if (EqualsIgnoreCase(s, "center")) return TextAlign::kCenter;
  if (EqualsIgnoreCase(s, "right")) return TextAlign::kRight;
  return TextAlign::kNone;
}

// Reads "= value" at `*i`: blanks and tabs around "=", the value quoted with
// ' or " (up to the same quote or a line end) or bare (up to a quote, blank,
// tab or line end). Returns false, `*i` unchanged, when no "=" follows.
bool ReadAttributeValue(std::string_view attrs, size_t* i, std::string_view* value) {
  size_t k = *i;
  while (k < attrs.size() && IsBlank(attrs[k])) ++k;
  if (k >= attrs.size() || attrs[k] != '=') return false;
  ++k;
  while (k < attrs.size() && IsBlank(attrs[k])) ++k;
  size_t start = k, end = k;
  if (k < attrs.size() && (attrs[k] == '"' || attrs[k] == '\'')) {
    const char quote = attrs[k];
    start = end = k + 1;
    while (end < attrs.size() && attrs[end] != quote && !IsLineEnd(attrs[end])) ++end;
    *i = end < attrs.size() && attrs[end] == quote ? end + 1 : end;
  } else {
    while (end < attrs.size() && !IsBlank(attrs[end]) && !IsLineEnd(attrs[end]) && attrs[end] != '"' &&
           attrs[end] != '\'')
      ++end;
    *i = end;
  }
  *value = attrs.substr(start, end - start);
  return true;
}

// Reads ": value" at `*i`, the value up to ";" or the end, blanks trimmed.
// Returns false, `*i` unchanged, when no ":" follows.
bool ReadDeclarationValue(std::string_view style, size_t* i, std::string_view* value) {
  size_t k = *i;
  while (k < style.size() && IsBlank(style[k])) ++k;
  if (k >= style.size() || style[k] != ':') return false;
  size_t end = style.find(';', k + 1);
  if (end == kNpos) end = style.size();
  *value = TrimBlanks(style.substr(k + 1, end - k - 1));
  *i = end;
  return true;
}

using ValueReader = bool (*)(std::string_view text, size_t* i, std::string_view* value);

struct Reading {
  AttributeSet set;
  TextFormat* format;
  ElementAttributes* result;
};

template <size_t N>
void ReadNamedValues(std::string_view text, const NamedField (&fields)[N], ValueReader read,
                     Reading& reading);

void Apply(Field field, std::string_view value, Reading& reading) {
  TextFormat& format = *reading.format;
  switch (field) {
    case Field::kSize:
      if (!value.empty()) format.size = ParseNumber(value) * 6;
      break;
    case Field::kFontSize:
      format.size = ParseNumber(value) * 2;
      break;
    case Field::kColor:
      if (const int c = ParseHexColor(value); c >= 0) format.color = c;
      break;
    case Field::kBackground:
      if (const int c = ParseHexColor(value); c >= 0) format.highlight = c;
      break;
    case Field::kHref:
      reading.result->href.assign(value);
      break;
    case Field::kAlign:
    case Field::kTextAlign:
      reading.result->align = ParseAlign(value);
      break;
    case Field::kStyle:
      if (value.size() >= kMinStyleLength) {
        ReadNamedValues(value, kDeclarations, ReadDeclarationValue, reading);
      }
      break;
  }
}

// The field of `fields` whose name stands at `i` and that the element
// takes, or null.
template <size_t N>
const NamedField* FieldAt(std::string_view text, size_t i, const NamedField (&fields)[N],
                          AttributeSet set) {
  if (!AtNameStart(text, i)) return nullptr;
  for (const NamedField& f : fields) {
    if ((f.taken_by == AttributeSet::kCommon || f.taken_by == set) && StartsWithAt(text, i, f.name)) {
      return &f;
    }
  }
  return nullptr;
}

template <size_t N>
void ReadNamedValues(std::string_view text, const NamedField (&fields)[N], ValueReader read,
                     Reading& reading) {
  size_t i = 0;
  while (i < text.size()) {
    const NamedField* hit = FieldAt(text, i, fields, reading.set);
    if (!hit) {
      ++i;
      continue;
    }
    i += hit->name.size();
    std::string_view value;
    if (read(text, &i, &value)) Apply(hit->field, value, reading);
  }
}

}  // namespace

ElementAttributes ReadElementAttributes(std::string_view attributes, AttributeSet set,
                                        TextFormat* format) {
  ElementAttributes result;
  Reading reading{set, format, &result};
  ReadNamedValues(attributes, kAttributes, ReadAttributeValue, reading);
  return result;
}

}  // namespace cc::win
