#include "core/str.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/code_page.h"

namespace cc {
namespace {

template <class C>
C FoldUnit(C c) {
  return (c >= C('A') && c <= C('Z')) ? static_cast<C>(c + 32) : c;
}

template <class C>
bool UnitsEqual(C a, C b, bool ignoreCase) {
  return ignoreCase ? FoldUnit(a) == FoldUnit(b) : a == b;
}

template <class C>
bool RangeEqual(std::basic_string_view<C> a, std::basic_string_view<C> b, bool ignoreCase) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!UnitsEqual(a[i], b[i], ignoreCase)) return false;
  }
  return true;
}

// Position of `needle` in `hay` at or after `start`, or -1.
template <class C>
int FindUnits(std::basic_string_view<C> hay, std::basic_string_view<C> needle, int start, bool ignoreCase) {
  if (start < 0) start = 0;
  if (static_cast<size_t>(start) > hay.size() || needle.size() > hay.size() - start) return -1;
  if (!ignoreCase) {
    const size_t pos = hay.find(needle, start);
    return pos == std::basic_string_view<C>::npos ? -1 : static_cast<int>(pos);
  }
  for (size_t i = start; i + needle.size() <= hay.size(); ++i) {
    if (RangeEqual(hay.substr(i, needle.size()), needle, true)) return static_cast<int>(i);
  }
  return -1;
}

template <class C>
void ReplaceUnits(std::basic_string<C>& text, std::basic_string_view<C> from, std::basic_string_view<C> to,
                  bool ignoreCase) {
  if (from.empty()) return;
  std::basic_string<C> out;
  const std::basic_string_view<C> view(text);
  size_t done = 0;
  int pos = FindUnits(view, from, 0, ignoreCase);
  if (pos < 0) return;
  while (pos >= 0) {
    out.append(view.substr(done, pos - done));
    out.append(to);
    done = pos + from.size();
    pos = FindUnits(view, from, static_cast<int>(done), ignoreCase);
  }
  out.append(view.substr(done));
  text = std::move(out);
}

template <class C>
void TrimSpaces(std::basic_string<C>& text) {
  const size_t first = text.find_first_not_of(C(' '));
  if (first == std::basic_string<C>::npos) {
    text.clear();
    return;
  }
  const size_t last = text.find_last_not_of(C(' '));
  text = text.substr(first, last - first + 1);
}

// Runs `f(ownUnits, argumentUnits)` with the argument converted to the code
// units of `self`'s code page.
template <class F>
auto WithUnits(const Str& self, const Str& arg, F&& f) {
  if (self.GetCodePage() == kCodePageUtf16LE) return f(self.View(), arg.View());
  const std::string argBytes = arg.ToBytes(self.GetCodePage());
  return f(self.Bytes(), std::string_view(argBytes));
}

bool IsSpaceUnit(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'z') return c - u'a' + 10;
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  return 99;
}

// strtol-style parse, clamped to [minValue, maxValue].
int64_t ParseInteger(std::u16string_view s, int base, int64_t minValue, int64_t maxValue) {
  if (base < 0 || base == 1 || base > 36) return 0;
  size_t i = 0;
  while (i < s.size() && IsSpaceUnit(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  const bool hexPrefix = i + 2 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X') &&
                         DigitValue(s[i + 2]) < 16;
  if ((base == 16 || base == 0) && hexPrefix) {
    base = 16;
    i += 2;
  } else if (base == 0) {
    base = (i < s.size() && s[i] == u'0') ? 8 : 10;
  }
  const uint64_t limit = negative ? static_cast<uint64_t>(-(minValue + 1)) + 1 : static_cast<uint64_t>(maxValue);
  uint64_t magnitude = 0;
  bool overflow = false;
  for (; i < s.size() && DigitValue(s[i]) < base; ++i) {
    const uint64_t digit = DigitValue(s[i]);
    if (overflow || magnitude > (limit - digit) / base) {
      overflow = true;
      continue;
    }
    magnitude = magnitude * base + digit;
  }
  if (overflow) return negative ? minValue : maxValue;
  if (!negative) return static_cast<int64_t>(magnitude);
  return magnitude == limit ? minValue : -static_cast<int64_t>(magnitude);
}

}  // namespace

struct Str::ByteForm {
  std::string bytes;
  std::u16string converted;
  bool converted_ready = false;
};

std::string& Str::ByteText() {
  if (!bytes_) bytes_ = std::make_unique<ByteForm>();
  return bytes_->bytes;
}

std::string_view Str::ByteView() const { return bytes_ ? std::string_view(bytes_->bytes) : std::string_view(); }

void Str::Touch() {
  if (bytes_) bytes_->converted_ready = false;
}

Str::Str() = default;
Str::Str(std::nullptr_t) {}

Str::Str(const char16_t* text) {
  if (text) {
    wide_ = text;
    null_ = false;
  }
}

Str::Str(const char16_t* text, int length) {
  if (!text) return;
  if (length < 0) {
    wide_ = text;
  } else {
    wide_.assign(text, length);
  }
  null_ = false;
}

Str::Str(std::u16string_view text) : null_(false), wide_(text) {}
Str::Str(const std::u16string& text) : null_(false), wide_(text) {}
Str::Str(std::u16string&& text) : null_(false), wide_(std::move(text)) {}

Str::Str(const Str& other)
    : Object(other),
      code_page_(other.code_page_),
      null_(other.null_),
      wide_(other.wide_),
      bytes_(other.bytes_ ? std::make_unique<ByteForm>(ByteForm{other.bytes_->bytes, {}, false}) : nullptr) {}

Str::Str(Str&& other) noexcept
    : Object(other),
      code_page_(other.code_page_),
      null_(other.null_),
      wide_(std::move(other.wide_)),
      bytes_(std::move(other.bytes_)) {
  other.code_page_ = kCodePageUtf16LE;
  other.null_ = true;
  other.wide_.clear();
}

Str::~Str() = default;

Str& Str::operator=(const Str& other) {
  if (this != &other) {
    Str copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Str& Str::operator=(Str&& other) noexcept {
  if (this != &other) {
    code_page_ = other.code_page_;
    null_ = other.null_;
    wide_ = std::move(other.wide_);
    bytes_ = std::move(other.bytes_);
    other.code_page_ = kCodePageUtf16LE;
    other.null_ = true;
    other.wide_.clear();
  }
  return *this;
}

Str& Str::operator=(const char16_t* text) {
  Str copy(text);
  return *this = std::move(copy);
}

Str Str::FromBytes(const char* bytes, int length, int codePage) {
  Str result;
  if (!bytes) return result;
  if (codePage == kCodePageUtf16LE || codePage == kCodePageUtf16BE) {
    if (length < 0) {
      length = 0;
      while (bytes[length] != 0 || bytes[length + 1] != 0) length += 2;
    }
    result.wide_ = Utf16BytesToText(std::string_view(bytes, length), codePage == kCodePageUtf16BE);
  } else {
    result.ByteText().assign(bytes, length < 0 ? std::strlen(bytes) : static_cast<size_t>(length));
    result.code_page_ = codePage;
  }
  result.null_ = false;
  return result;
}

Str Str::FromUtf8(std::string_view utf8) { return Str(Utf8ToUtf16(utf8)); }

Str Str::FromAscii(std::string_view ascii) {
  std::u16string wide(ascii.size(), u'\0');
  for (size_t i = 0; i < ascii.size(); ++i) wide[i] = static_cast<unsigned char>(ascii[i]);
  return Str(std::move(wide));
}

int Str::GetLength() const { return static_cast<int>(IsWide() ? wide_.size() : ByteView().size()); }

void Str::MakeWide() const {
  if (!bytes_ || bytes_->converted_ready) return;
  bytes_->converted = DecodeBytes(bytes_->bytes, code_page_);
  bytes_->converted_ready = true;
}

const char16_t* Str::GetBuffer() const {
  if (IsWide()) return wide_.c_str();
  MakeWide();
  return bytes_ ? bytes_->converted.c_str() : u"";
}

std::u16string_view Str::View() const {
  if (IsWide()) return wide_;
  MakeWide();
  return bytes_ ? std::u16string_view(bytes_->converted) : std::u16string_view();
}

std::string_view Str::Bytes() const {
  if (IsWide()) return std::string_view(reinterpret_cast<const char*>(wide_.data()), wide_.size() * 2);
  return ByteView();
}

Str Str::ToCodePage(int codePage) const {
  const bool toWide = codePage == kCodePageUtf16LE || codePage == kCodePageUtf16BE;
  if (null_) {
    Str result;
    result.code_page_ = toWide ? kCodePageUtf16LE : codePage;
    return result;
  }
  if (toWide) return Str(View());
  if (codePage == code_page_) return *this;
  Str result;
  result.ByteText() = EncodeText(View(), codePage);
  result.code_page_ = codePage;
  result.null_ = false;
  return result;
}

std::string Str::ToUtf8() const { return ToBytes(kCodePageUtf8); }

std::string Str::ToBytes(int codePage) const {
  if (null_) return std::string();
  if (!IsWide() && codePage == code_page_) return std::string(ByteView());
  return EncodeText(View(), codePage);
}

int Str::Compare(const Str& other, bool ignoreCase) const {
  const std::u16string_view a = IsWide() ? std::u16string_view(wide_) : View();
  const std::u16string_view b = other.IsWide() ? std::u16string_view(other.wide_) : other.View();
  const size_t n = std::min(a.size(), b.size());
  if (!ignoreCase) {
    for (size_t i = 0; i < n; ++i) {
      if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    }
  } else {
    for (size_t i = 0; i < n; ++i) {
      const char16_t x = FoldAscii(a[i]);
      const char16_t y = FoldAscii(b[i]);
      if (x != y) return x < y ? -1 : 1;
    }
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool Str::Equals(const Str& other, bool ignoreCase) const {
  if (!ignoreCase && IsWide() && other.IsWide()) return wide_ == other.wide_;
  return Compare(other, ignoreCase) == 0;
}

bool Str::StartsWith(const Str& prefix, bool ignoreCase) const {
  return WithUnits(*this, prefix, [&](auto self, auto arg) {
    return arg.size() <= self.size() && RangeEqual(self.substr(0, arg.size()), arg, ignoreCase);
  });
}

bool Str::EndsWith(const Str& suffix, bool ignoreCase) const {
  return WithUnits(*this, suffix, [&](auto self, auto arg) {
    return arg.size() <= self.size() && RangeEqual(self.substr(self.size() - arg.size()), arg, ignoreCase);
  });
}

int Str::IndexOf(const Str& needle, int start, bool ignoreCase) const {
  return WithUnits(*this, needle, [&](auto self, auto arg) { return FindUnits(self, arg, start, ignoreCase); });
}

int Str::IndexOf(char16_t ch, int start) const {
  if (IsWide()) return FindUnits(std::u16string_view(wide_), std::u16string_view(&ch, 1), start, false);
  return IndexOf(Str(std::u16string_view(&ch, 1)), start);
}

int Str::LastIndexOf(char16_t ch) const {
  if (IsWide()) {
    const size_t pos = wide_.rfind(ch);
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
  }
  const std::string needle = EncodeText(std::u16string_view(&ch, 1), code_page_);
  const size_t pos = ByteView().rfind(needle);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

Str Str::Substring(int start, int end) const {
  Str result;
  result.code_page_ = code_page_;
  if (null_) return result;
  const int length = GetLength();
  start = std::clamp(start, 0, length);
  end = std::clamp(end, start, length);
  if (IsWide()) {
    result.wide_ = wide_.substr(start, end - start);
  } else {
    result.ByteText() = std::string(ByteView().substr(start, end - start));
  }
  result.null_ = false;
  return result;
}

Str Str::Substring(int start) const { return Substring(start, GetLength()); }

Str& Str::Replace(const Str& from, const Str& to, bool ignoreCase) {
  if (null_) return *this;
  if (IsWide()) {
    const std::u16string fromText(from.View());
    const std::u16string toText(to.View());
    ReplaceUnits<char16_t>(wide_, fromText, toText, ignoreCase);
  } else {
    const std::string fromText = from.ToBytes(code_page_);
    const std::string toText = to.ToBytes(code_page_);
    ReplaceUnits<char>(ByteText(), fromText, toText, ignoreCase);
  }
  Touch();
  return *this;
}

Str& Str::Trim() {
  if (IsWide()) {
    TrimSpaces(wide_);
  } else {
    TrimSpaces(ByteText());
  }
  Touch();
  return *this;
}

Str& Str::Append(const Str& text) {
  if (&text == this) {
    const Str copy(text);
    return Append(copy);
  }
  if (IsWide()) {
    wide_.append(text.View());
  } else {
    ByteText().append(text.ToBytes(code_page_));
  }
  null_ = false;
  Touch();
  return *this;
}

Str& Str::Append(char16_t ch) {
  if (IsWide()) {
    wide_.push_back(ch);
  } else {
    ByteText().append(EncodeText(std::u16string_view(&ch, 1), code_page_));
  }
  null_ = false;
  Touch();
  return *this;
}

int Str::ToInt(int base) const {
  return static_cast<int>(ParseInteger(View(), base, INT32_MIN, INT32_MAX));
}

int64_t Str::ToInt64(int base) const { return ParseInteger(View(), base, INT64_MIN, INT64_MAX); }

Str Str::Split(const Str& delimiters) {
  if (null_) return Str();
  const int pos = WithUnits(*this, delimiters, [](auto self, auto set) {
    const size_t found = self.find_first_of(set);
    return found == decltype(self)::npos ? -1 : static_cast<int>(found);
  });
  if (pos < 0) {
    Str token(*this);
    *this = Substring(GetLength());
    return token;
  }
  Str token = Substring(0, pos);
  *this = Substring(pos + 1);
  return token;
}

char16_t Str::operator[](int index) const {
  if (index < 0 || index >= GetLength()) return 0;
  return IsWide() ? wide_[index] : static_cast<unsigned char>(ByteView()[index]);
}

Str operator+(const Str& a, const Str& b) {
  Str result(a);
  result.Append(b);
  return result;
}

bool operator==(const Str& a, const Str& b) { return a.Equals(b); }
bool operator!=(const Str& a, const Str& b) { return !a.Equals(b); }
bool operator==(const Str& a, std::nullptr_t) { return a.IsNull(); }

}  // namespace cc
