// Conversions between UTF-16 and the byte encodings a cc::Str can hold.
// Strings are converted through cc::Str's FromBytes, ToBytes and ToCodePage;
// the UTF-8 functions here are the one UTF-8 codec of the program and may be
// used directly by code that walks UTF-8 bytes itself (the HTML converter,
// the packer's text check, its command line).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cc {

// One UTF-8 character read from `utf8` at `offset` (which must be inside it).
struct Utf8Char {
  char32_t code_point;  // U+FFFD when the sequence is invalid
  size_t length;        // bytes taken, at least 1: the whole sequence, or the
                        // valid-looking prefix of a broken one
  bool valid;           // false for an invalid or truncated sequence
};
// Decodes the character at `offset`. An invalid sequence (stray continuation
// byte, overlong form, encoded surrogate, value above U+10FFFF, truncated
// sequence) gives U+FFFD over its longest valid-looking prefix, so decoding
// resumes at the first byte that broke it.
Utf8Char DecodeUtf8Char(std::string_view utf8, size_t offset);
// Appends the UTF-8 form of `codePoint` (at most U+10FFFF) to `out`.
void AppendUtf8(std::string& out, char32_t codePoint);

// UTF-8 to UTF-16. Every invalid sequence (stray continuation byte, overlong
// form, encoded surrogate, value above U+10FFFF, truncated sequence) becomes
// one U+FFFD per offending byte run; nothing is dropped silently.
std::u16string Utf8ToUtf16(std::string_view utf8);
// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Windows-1252. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, both ways, as
// the Windows converter does. A character without a byte becomes "?".
std::u16string Windows1252ToUtf16(std::string_view bytes);
std::string Utf16ToWindows1252(std::u16string_view text);

// Raw UTF-16 bytes, little- or big-endian. An odd trailing byte decodes as
// U+FFFD.
std::u16string Utf16BytesToText(std::string_view bytes, bool bigEndian);
std::string TextToUtf16Bytes(std::u16string_view text, bool bigEndian);

// Any code page a cc::Str can hold: 1200/1201 raw UTF-16, 65001 UTF-8, 1252
// built in, 0 through the ANSI converter, any other through the code-page
// converter when one is installed, else through the ANSI converter.
std::u16string DecodeBytes(std::string_view bytes, int codePage);
std::string EncodeText(std::u16string_view text, int codePage);

}  // namespace cc
