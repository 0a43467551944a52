// cc::Str: a string with a code page. UTF-16 (1200) is the normal in-memory
// form; other code pages are held as bytes in that code page. A null string
// and an empty string both read as "" but are different values: storing a
// null string into the configuration store removes the key.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/object.h"

namespace cc {

inline constexpr int kCodePageAnsi = 0;         // the system's ANSI code page
inline constexpr int kCodePageUtf16LE = 1200;   // the in-memory form
inline constexpr int kCodePageUtf16BE = 1201;   // only met in files
inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kCodePageWindows1252 = 1252;

// Converts between the ANSI code page and UTF-16. Natively the ANSI code page
// is Windows-1252; the Win32 platform installs the system's converter.
struct AnsiConverter {
  std::u16string (*to_utf16)(std::string_view bytes);
  std::string (*from_utf16)(std::u16string_view text);
};
void SetAnsiConverter(const AnsiConverter& converter);
const AnsiConverter& GetAnsiConverter();

// Converts between any other byte code page (not 0, 1200, 1201, 1252 or
// 65001) and UTF-16. None is installed natively, and such code pages then go
// through the ANSI converter; the Win32 platform may install the system's.
// Passing a converter with null functions removes it.
struct CodePageConverter {
  std::u16string (*to_utf16)(int codePage, std::string_view bytes);
  std::string (*from_utf16)(int codePage, std::u16string_view text);
};
void SetCodePageConverter(const CodePageConverter& converter);

class Str : public Object {
 public:
  // A new string is null (code page 1200).
  Str();
  Str(std::nullptr_t);
  // Null when `text` is a null pointer, else a copy up to its terminating zero.
  Str(const char16_t* text);
  // `length` < 0 means up to the terminating zero.
  Str(const char16_t* text, int length);
  Str(std::u16string_view text);
  Str(const std::u16string& text);
  Str(std::u16string&& text);
  Str(const Str& other);
  Str(Str&& other) noexcept;
  ~Str() override;
  Str& operator=(const Str& other);  // copies the code page too
  Str& operator=(Str&& other) noexcept;
  Str& operator=(const char16_t* text);  // null pointer makes the string null

  // Bytes held in `codePage`. For 1200/1201 the bytes are decoded into a
  // UTF-16 string (1200); for every other code page they are kept as bytes.
  // `length` -1 means up to the terminating zero byte (for 1200/1201: up to
  // the first zero 16-bit unit). A null `bytes` gives a null string.
  static Str FromBytes(const char* bytes, int length, int codePage);
  // UTF-8 bytes decoded into UTF-16 (1200); invalid sequences become U+FFFD.
  static Str FromUtf8(std::string_view utf8);
  // ASCII text into UTF-16; for tests and fixed texts.
  static Str FromAscii(std::string_view ascii);

  bool IsNull() const { return null_; }
  bool IsEmpty() const { return GetLength() == 0; }
  // Length in code units of the string's own code page.
  int GetLength() const;
  int GetCodePage() const { return code_page_; }

  // The UTF-16 text (code page 1200), "" for a null string; converts a string
  // of another code page on the fly (the pointer then lives until the next
  // change of this string).
  const char16_t* GetBuffer() const;
  std::u16string_view View() const;
  // Bytes of a string held in a byte code page ("" when null); for a UTF-16
  // string its units as little-endian bytes.
  std::string_view Bytes() const;

  // A copy converted to `codePage` (null stays null); 1200 and 1201 both
  // give the in-memory UTF-16 form.
  Str ToCodePage(int codePage) const;
  std::string ToUtf8() const;
  // Encoded in `codePage` (0, 1252, 65001 or 1200/1201 as raw UTF-16 bytes).
  std::string ToBytes(int codePage) const;

  // Ordinal comparison; with `ignoreCase` only ASCII A-Z fold to a-z.
  // Returns <0, 0, >0. A null string compares as "".
  int Compare(const Str& other, bool ignoreCase = false) const;
  bool Equals(const Str& other, bool ignoreCase = false) const;
  using Object::Equals;
  bool StartsWith(const Str& prefix, bool ignoreCase = false) const;
  bool EndsWith(const Str& suffix, bool ignoreCase = false) const;
  // Position of `needle` at or after `start`, or -1 when absent.
  int IndexOf(const Str& needle, int start = 0, bool ignoreCase = false) const;
  int IndexOf(char16_t ch, int start = 0) const;
  int LastIndexOf(char16_t ch) const;

  // Positions and lengths below count code units of the string's own code
  // page; text arguments of another code page are converted to it first.
  //
  // [start, end) with the end exclusive; positions are clamped to the text
  // (an end before the start gives ""). A null string gives a null string.
  Str Substring(int start, int end) const;
  Str Substring(int start) const;
  // Replaces every occurrence, scanning left to right without rescanning
  // the replacement; an empty `from` changes nothing. Returns *this.
  Str& Replace(const Str& from, const Str& to, bool ignoreCase = false);
  // Removes U+0020 from both ends.
  Str& Trim();
  // Appending to a null string makes it non-null (even with a null or
  // empty `text`).
  Str& Append(const Str& text);
  Str& Append(char16_t ch);
  // printf-style into this string, replacing its text: %d (int), %u
  // (unsigned), %I64u (uint64_t), %I64d (int64_t), %s (const char16_t*,
  // a null pointer prints nothing), %c (char16_t as int), %x, %%.
  // Width and zero padding ("%02d") are honoured.
  // Also: %i, %X, %o, the length prefixes h, l, ll, I64, I32 and z, the
  // flags "-", "+", " ", "#", "*" for width or precision, a precision on
  // %s (at most that many units) and on integers, %f/%e/%g for double
  // ("%.3f"), %hs for a UTF-8 `const char*` and %p. An unknown conversion
  // is copied to the output as written. The result is a UTF-16 string.
  Str& Format(const char16_t* format, ...);
  Str& FormatV(const char16_t* format, va_list args);
  static Str Formatted(const char16_t* format, ...);

  // Decimal (or `base`) integer: leading white space and a sign accepted,
  // stops at the first non-digit, no digits gives 0. Base 16 also accepts
  // a "0x" prefix, base 0 picks 8, 10 or 16 from the prefix as strtol does.
  // A value out of range is clamped to the type's limits; an unusable base
  // (1, or above 36) gives 0.
  int ToInt(int base = 10) const;
  int64_t ToInt64(int base = 10) const;

  // Takes the text up to the first of `delimiters` and removes it and the
  // delimiter from this string; when none is found the whole rest is taken
  // and this string becomes empty. A null string gives a null token and
  // stays null.
  Str Split(const Str& delimiters);

  Str& operator+=(const Str& text) { return Append(text); }
  // Code unit `index` (a byte's value for a byte code page); 0 when out of
  // range.
  char16_t operator[](int index) const;

  const char16_t* ClassName() const override { return u"Str"; }
  Str ToString() const override { return *this; }

 private:
  // The text of a string held in a byte code page, with its UTF-16 form
  // once asked for. Kept behind a pointer so that the common UTF-16 string
  // stays small.
  struct ByteForm;

  bool IsWide() const { return code_page_ == kCodePageUtf16LE; }
  void MakeWide() const;
  // The byte text; created empty when missing.
  std::string& ByteText();
  std::string_view ByteView() const;
  // Called by every change of the text: drops the cached conversion.
  void Touch();

  int code_page_ = kCodePageUtf16LE;
  bool null_ = true;
  std::u16string wide_;               // text for 1200
  std::unique_ptr<ByteForm> bytes_;   // text for every other code page
};

Str operator+(const Str& a, const Str& b);
bool operator==(const Str& a, const Str& b);  // ordinal, null equals ""
bool operator!=(const Str& a, const Str& b);
// Equality with a null pointer holds only for a null string.
bool operator==(const Str& a, std::nullptr_t);

// Case folding used everywhere keys are compared: only A-Z fold.
inline char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

}  // namespace cc
