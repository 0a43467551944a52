// printf-style formatting into UTF-16 for cc::Str::Format.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/code_page.h"
#include "core/str.h"

namespace cc {
namespace {

enum class LengthPrefix { kNone, kChar, kShort, kLong, kLongLong, kInt64, kSize, kLongDouble };

struct Conversion {
  bool left = false;
  bool plus = false;
  bool space = false;
  bool alternate = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
  LengthPrefix length = LengthPrefix::kNone;
  char16_t type = 0;
};

void Pad(std::u16string& out, int count, char16_t fill) {
  if (count > 0) out.append(static_cast<size_t>(count), fill);
}

// Appends `body` (already with sign and prefix split off) padded to the width.
void AppendPadded(std::u16string& out, const Conversion& c, std::u16string_view prefix, std::u16string_view body,
                  bool zeroPadAllowed) {
  const int padding = c.width - static_cast<int>(prefix.size() + body.size());
  if (c.left) {
    out.append(prefix);
    out.append(body);
    Pad(out, padding, u' ');
  } else if (c.zero && zeroPadAllowed) {
    out.append(prefix);
    Pad(out, padding, u'0');
    out.append(body);
  } else {
    Pad(out, padding, u' ');
    out.append(prefix);
    out.append(body);
  }
}

bool IsSigned(char16_t type) { return type == u'd' || type == u'i'; }

int64_t ReadSigned(const Conversion& c, va_list& args) {
  switch (c.length) {
    case LengthPrefix::kChar: return static_cast<signed char>(va_arg(args, int));
    case LengthPrefix::kShort: return static_cast<short>(va_arg(args, int));
    case LengthPrefix::kLong: return va_arg(args, long);
    case LengthPrefix::kLongLong:
    case LengthPrefix::kInt64: return va_arg(args, long long);
    case LengthPrefix::kSize: return static_cast<int64_t>(va_arg(args, ptrdiff_t));
    default: return va_arg(args, int);
  }
}

uint64_t ReadUnsigned(const Conversion& c, va_list& args) {
  switch (c.length) {
    case LengthPrefix::kChar: return static_cast<unsigned char>(va_arg(args, unsigned int));
    case LengthPrefix::kShort: return static_cast<unsigned short>(va_arg(args, unsigned int));
    case LengthPrefix::kLong: return va_arg(args, unsigned long);
    case LengthPrefix::kLongLong:
    case LengthPrefix::kInt64: return va_arg(args, unsigned long long);
    case LengthPrefix::kSize: return va_arg(args, size_t);
    default: return va_arg(args, unsigned int);
  }
}

std::u16string Digits(uint64_t value, int base, bool upper, int precision) {
  const char* alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  char16_t reversed[64];
  int count = 0;
  while (value != 0) {
    reversed[count++] = static_cast<char16_t>(alphabet[value % base]);
    value /= base;
  }
  const int minimum = precision < 0 ? 1 : precision;
  std::u16string digits(count < minimum ? minimum - count : 0, u'0');
  while (count > 0) digits.push_back(reversed[--count]);
  return digits;
}

void FormatInteger(std::u16string& out, const Conversion& c, va_list& args) {
  std::u16string prefix;
  uint64_t magnitude = 0;
  if (IsSigned(c.type)) {
    const int64_t value = ReadSigned(c, args);
    magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    if (value < 0) {
      prefix = u"-";
    } else if (c.plus) {
      prefix = u"+";
    } else if (c.space) {
      prefix = u" ";
    }
  } else {
    magnitude = ReadUnsigned(c, args);
  }
  const int base = (c.type == u'x' || c.type == u'X') ? 16 : (c.type == u'o' ? 8 : 10);
  std::u16string body = Digits(magnitude, base, c.type == u'X', c.precision);
  if (c.alternate && base == 16 && magnitude != 0) prefix = c.type == u'X' ? u"0X" : u"0x";
  if (c.alternate && base == 8 && (body.empty() || body[0] != u'0')) body.insert(0, 1, u'0');
  AppendPadded(out, c, prefix, body, c.precision < 0);
}

void FormatString(std::u16string& out, const Conversion& c, va_list& args) {
  std::u16string text;
  const bool narrow = c.type == u'S' || c.length == LengthPrefix::kShort;
  if (narrow) {
    const char* s = va_arg(args, const char*);
    if (s) text = Utf8ToUtf16(s);
  } else {
    const char16_t* s = va_arg(args, const char16_t*);
    if (s) text = s;
  }
  if (c.precision >= 0 && static_cast<int>(text.size()) > c.precision) text.resize(c.precision);
  AppendPadded(out, c, u"", text, false);
}

void FormatFloat(std::u16string& out, const Conversion& c, va_list& args) {
  // The flags are copied; width and precision go in as "*" arguments.
  char spec[32];
  std::snprintf(spec, sizeof spec, "%%%s%s%s%s%s*%s%c", c.left ? "-" : "", c.plus ? "+" : "", c.space ? " " : "",
                c.alternate ? "#" : "", c.zero ? "0" : "", c.precision >= 0 ? ".*" : "", static_cast<char>(c.type));
  const double value = c.length == LengthPrefix::kLongDouble ? static_cast<double>(va_arg(args, long double))
                                                              : va_arg(args, double);
  auto print = [&](char* buffer, size_t size) {
    return c.precision >= 0 ? std::snprintf(buffer, size, spec, c.width, c.precision, value)
                            : std::snprintf(buffer, size, spec, c.width, value);
  };
  const int size = print(nullptr, 0);
  if (size <= 0) return;
  std::string text(size + 1, '\0');
  print(text.data(), text.size());
  for (int i = 0; i < size; ++i) out.push_back(static_cast<unsigned char>(text[i]));
}

void FormatPointer(std::u16string& out, const Conversion& c, va_list& args) {
  const uintptr_t value = reinterpret_cast<uintptr_t>(va_arg(args, void*));
  Conversion hex = c;
  hex.zero = false;
  AppendPadded(out, hex, u"", Digits(value, 16, true, static_cast<int>(sizeof(void*) * 2)), false);
}

// Reads a decimal number or "*" (taken from the arguments) at `p`.
int ReadCount(const char16_t*& p, va_list& args, bool* fromArgs) {
  *fromArgs = false;
  if (*p == u'*') {
    ++p;
    *fromArgs = true;
    return va_arg(args, int);
  }
  int value = 0;
  while (*p >= u'0' && *p <= u'9') {
    if (value < 100000) value = value * 10 + (*p - u'0');
    ++p;
  }
  return value;
}

void ReadFlags(const char16_t*& p, Conversion& c) {
  for (;; ++p) {
    switch (*p) {
      case u'-': c.left = true; break;
      case u'+': c.plus = true; break;
      case u' ': c.space = true; break;
      case u'#': c.alternate = true; break;
      case u'0': c.zero = true; break;
      default: return;
    }
  }
}

void ReadLength(const char16_t*& p, Conversion& c) {
  if (p[0] == u'h') {
    c.length = p[1] == u'h' ? LengthPrefix::kChar : LengthPrefix::kShort;
    p += p[1] == u'h' ? 2 : 1;
  } else if (p[0] == u'l') {
    c.length = p[1] == u'l' ? LengthPrefix::kLongLong : LengthPrefix::kLong;
    p += p[1] == u'l' ? 2 : 1;
  } else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
    c.length = LengthPrefix::kInt64;
    p += 3;
  } else if (p[0] == u'I' && p[1] == u'3' && p[2] == u'2') {
    p += 3;
  } else if (p[0] == u'z' || p[0] == u'j' || p[0] == u't') {
    c.length = p[0] == u'j' ? LengthPrefix::kInt64 : LengthPrefix::kSize;
    ++p;
  } else if (p[0] == u'L') {
    c.length = LengthPrefix::kLongDouble;
    ++p;
  }
}

// Parses one conversion after its "%" and formats it. Returns false when the
// conversion letter is unknown (nothing was consumed from `args` for it).
bool FormatOne(std::u16string& out, const char16_t*& p, va_list& args) {
  Conversion c;
  ReadFlags(p, c);
  bool fromArgs = false;
  c.width = ReadCount(p, args, &fromArgs);
  if (fromArgs && c.width < 0) {
    c.left = true;
    c.width = -c.width;
  }
  if (*p == u'.') {
    ++p;
    c.precision = ReadCount(p, args, &fromArgs);
    if (c.precision < 0) c.precision = -1;
  }
  ReadLength(p, c);
  c.type = *p;
  switch (c.type) {
    case u'd': case u'i': case u'u': case u'x': case u'X': case u'o':
      FormatInteger(out, c, args);
      break;
    case u'c': {
      const char16_t ch = static_cast<char16_t>(va_arg(args, int));
      AppendPadded(out, c, u"", std::u16string_view(&ch, 1), false);
      break;
    }
    case u's': case u'S':
      FormatString(out, c, args);
      break;
    case u'f': case u'F': case u'e': case u'E': case u'g': case u'G': case u'a': case u'A':
      FormatFloat(out, c, args);
      break;
    case u'p':
      FormatPointer(out, c, args);
      break;
    case u'%':
      out.push_back(u'%');
      break;
    default:
      return false;
  }
  ++p;
  return true;
}

std::u16string FormatToText(const char16_t* format, va_list args) {
  std::u16string out;
  if (!format) return out;
  va_list work;
  va_copy(work, args);
  for (const char16_t* p = format; *p;) {
    if (*p != u'%') {
      out.push_back(*p++);
      continue;
    }
    const char16_t* start = p++;
    if (!FormatOne(out, p, work)) {
      // Unknown conversion: copy it as written, up to where parsing stopped.
      out.append(start, p - start);
      if (*p) out.push_back(*p++);
    }
  }
  va_end(work);
  return out;
}

}  // namespace

Str& Str::FormatV(const char16_t* format, va_list args) {
  Str text(FormatToText(format, args));
  return *this = std::move(text);
}

Str& Str::Format(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
  return *this;
}

Str Str::Formatted(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  Str result;
  result.FormatV(format, args);
  va_end(args);
  return result;
}

}  // namespace cc
