#include "core/code_page.h"

#include <cstdint>

#include "core/str.h"

namespace cc {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80-0x9F; the undefined five map to themselves.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::u16string DefaultAnsiToUtf16(std::string_view bytes) { return Windows1252ToUtf16(bytes); }
std::string DefaultUtf16ToAnsi(std::u16string_view text) { return Utf16ToWindows1252(text); }

AnsiConverter& AnsiConverterSlot() {
  static AnsiConverter converter{&DefaultAnsiToUtf16, &DefaultUtf16ToAnsi};
  return converter;
}

CodePageConverter& CodePageConverterSlot() {
  static CodePageConverter converter{nullptr, nullptr};
  return converter;
}

// Length of the sequence a UTF-8 lead byte starts, 0 for a byte that cannot
// lead one.
int Utf8SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Whether `second` may follow `lead`: excludes overlong forms, encoded
// surrogates and values above U+10FFFF.
bool ValidSecondByte(uint8_t lead, uint8_t second) {
  if ((second & 0xC0) != 0x80) return false;
  if (lead == 0xE0) return second >= 0xA0;
  if (lead == 0xED) return second <= 0x9F;
  if (lead == 0xF0) return second >= 0x90;
  if (lead == 0xF4) return second <= 0x8F;
  return true;
}

bool IsOtherCodePage(int codePage) {
  return codePage != kCodePageAnsi && codePage != kCodePageWindows1252 &&
         codePage != kCodePageUtf8 && codePage != kCodePageUtf16LE && codePage != kCodePageUtf16BE;
}

}  // namespace

void SetAnsiConverter(const AnsiConverter& converter) {
  if (converter.to_utf16 && converter.from_utf16) {
    AnsiConverterSlot() = converter;
  } else {
    AnsiConverterSlot() = AnsiConverter{&DefaultAnsiToUtf16, &DefaultUtf16ToAnsi};
  }
}

const AnsiConverter& GetAnsiConverter() { return AnsiConverterSlot(); }

void SetCodePageConverter(const CodePageConverter& converter) {
  if (converter.to_utf16 && converter.from_utf16) {
    CodePageConverterSlot() = converter;
  } else {
    CodePageConverterSlot() = CodePageConverter{nullptr, nullptr};
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

Utf8Char DecodeUtf8Char(std::string_view utf8, size_t offset) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(utf8.data()) + offset;
  const size_t left = utf8.size() - offset;
  const uint8_t lead = p[0];
  if (lead < 0x80) return {lead, 1, true};
  const int length = Utf8SequenceLength(lead);
  // Take as many bytes as form a valid prefix; a broken sequence is one
  // U+FFFD for its valid prefix, then decoding resumes at the bad byte.
  size_t taken = 1;
  if (length > 0 && left > 1 && ValidSecondByte(lead, p[1])) {
    taken = 2;
    while (taken < static_cast<size_t>(length) && taken < left && (p[taken] & 0xC0) == 0x80) ++taken;
  }
  if (length == 0 || taken < static_cast<size_t>(length)) return {kReplacement, taken, false};
  char32_t cp = lead & (0xFF >> (length + 1));
  for (int k = 1; k < length; ++k) cp = (cp << 6) | (p[k] & 0x3F);
  return {cp, taken, true};
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  // Never more units than bytes: written through a pointer, then cut.
  std::u16string out(utf8.size(), u'\0');
  char16_t* o = out.data();
  size_t i = 0;
  while (i < utf8.size()) {
    const uint8_t byte = static_cast<uint8_t>(utf8[i]);
    if (byte < 0x80) {
      *o++ = byte;
      ++i;
      continue;
    }
    const Utf8Char c = DecodeUtf8Char(utf8, i);
    char32_t cp = c.code_point;
    if (cp < 0x10000) {
      *o++ = static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
      *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
    i += c.length;
  }
  out.resize(o - out.data());
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
               text[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::u16string Windows1252ToUtf16(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint8_t b = static_cast<uint8_t>(bytes[i]);
    out[i] = (b >= 0x80 && b <= 0x9F) ? kHigh1252[b - 0x80] : b;
  }
  return out;
}

std::string Utf16ToWindows1252(std::u16string_view text) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    char b = '?';
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      b = static_cast<char>(c);
    } else {
      for (int k = 0; k < 32; ++k) {
        if (kHigh1252[k] == c) {
          b = static_cast<char>(0x80 + k);
          break;
        }
      }
    }
    out[i] = b;
  }
  return out;
}

std::u16string Utf16BytesToText(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const uint8_t a = static_cast<uint8_t>(bytes[i]);
    const uint8_t b = static_cast<uint8_t>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
  }
  if (bytes.size() % 2 != 0) out.push_back(kReplacement);
  return out;
}

std::string TextToUtf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string out(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const char lo = static_cast<char>(text[i] & 0xFF);
    const char hi = static_cast<char>(text[i] >> 8);
    out[2 * i] = bigEndian ? hi : lo;
    out[2 * i + 1] = bigEndian ? lo : hi;
  }
  return out;
}

std::u16string DecodeBytes(std::string_view bytes, int codePage) {
  switch (codePage) {
    case kCodePageUtf8: return Utf8ToUtf16(bytes);
    case kCodePageWindows1252: return Windows1252ToUtf16(bytes);
    case kCodePageUtf16LE: return Utf16BytesToText(bytes, false);
    case kCodePageUtf16BE: return Utf16BytesToText(bytes, true);
    default: break;
  }
  const CodePageConverter& other = CodePageConverterSlot();
  if (IsOtherCodePage(codePage) && other.to_utf16) return other.to_utf16(codePage, bytes);
  return GetAnsiConverter().to_utf16(bytes);
}

std::string EncodeText(std::u16string_view text, int codePage) {
  switch (codePage) {
    case kCodePageUtf8: return Utf16ToUtf8(text);
    case kCodePageWindows1252: return Utf16ToWindows1252(text);
    case kCodePageUtf16LE: return TextToUtf16Bytes(text, false);
    case kCodePageUtf16BE: return TextToUtf16Bytes(text, true);
    default: break;
  }
  const CodePageConverter& other = CodePageConverterSlot();
  if (IsOtherCodePage(codePage) && other.from_utf16) return other.from_utf16(codePage, text);
  return GetAnsiConverter().from_utf16(text);
}

}  // namespace cc
