// Conversions between UTF-16 and the byte encodings a cc::Str can hold.
// Internal to core/: callers use cc::Str's FromBytes, ToBytes and ToCodePage.
#pragma once

#include <string>
#include <string_view>

namespace cc {

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
