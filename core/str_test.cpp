#include "core/str.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace cc {
namespace {

std::string Utf8(const Str& s) { return s.ToUtf8(); }

TEST(StrTest, NullAndEmptyDiffer) {
  Str fresh;
  Str fromNull(static_cast<const char16_t*>(nullptr));
  Str empty(u"");
  EXPECT_TRUE(fresh.IsNull());
  EXPECT_TRUE(fromNull.IsNull());
  EXPECT_FALSE(empty.IsNull());
  for (const Str* s : {&fresh, &fromNull, &empty}) {
    EXPECT_EQ(0, s->GetLength());
    EXPECT_TRUE(s->IsEmpty());
    EXPECT_EQ(std::u16string_view(u""), std::u16string_view(s->GetBuffer()));
  }
  EXPECT_TRUE(fresh == empty);  // ordinal equality reads null as ""
  EXPECT_TRUE(fresh == nullptr);
  EXPECT_FALSE(empty == nullptr);

  Str assigned(u"x");
  assigned = static_cast<const char16_t*>(nullptr);
  EXPECT_TRUE(assigned.IsNull());
  assigned = u"";
  EXPECT_FALSE(assigned.IsNull());

  Str copy = empty;
  EXPECT_FALSE(copy.IsNull());
  Str moved = std::move(copy);
  EXPECT_FALSE(moved.IsNull());
  EXPECT_TRUE(Str(fresh).IsNull());
}

TEST(StrTest, AppendToNullMakesText) {
  Str s;
  s.Append(Str());
  EXPECT_FALSE(s.IsNull());
  s += u"ab";
  s.Append(u'c');
  s.Append(s);
  EXPECT_EQ(Str(u"abcabc"), s);
  EXPECT_EQ(Str(u"abcabcd"), s + u"d");
}

TEST(StrTest, CodePageRoundTrips) {
  struct Case {
    const char* bytes;
    int codePage;
    std::u16string text;
  };
  const Case cases[] = {
      {"abc", kCodePageUtf8, u"abc"},
      {"\xC3\xA9t\xC3\xA9", kCodePageUtf8, u"\u00E9t\u00E9"},
      {"\xE2\x82\xAC", kCodePageUtf8, u"\u20AC"},
      {"\xF0\x9F\x98\x80", kCodePageUtf8, u"\U0001F600"},
      {"\x80\x9F\xE9", kCodePageWindows1252, u"\u20AC\u0178\u00E9"},
      {"\x81\x8D", kCodePageWindows1252, u"\u0081\u008D"},
      {"\x80z", kCodePageAnsi, u"\u20ACz"},  // natively the ANSI code page is 1252
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    Str s = Str::FromBytes(c.bytes, -1, c.codePage);
    EXPECT_EQ(c.codePage, s.GetCodePage()) << "case " << i;
    EXPECT_EQ(static_cast<int>(std::strlen(c.bytes)), s.GetLength()) << "case " << i;
    EXPECT_EQ(c.text, std::u16string(s.View())) << "case " << i;
    EXPECT_EQ(std::string(c.bytes), s.ToBytes(c.codePage)) << "case " << i;
    Str wide(c.text);
    EXPECT_EQ(std::string(c.bytes), wide.ToBytes(c.codePage)) << "case " << i;
    Str converted = wide.ToCodePage(c.codePage);
    EXPECT_EQ(std::string(c.bytes), std::string(converted.Bytes())) << "case " << i;
    EXPECT_TRUE(converted == wide) << "case " << i;
  }
}

TEST(StrTest, InvalidUtf8BecomesReplacement) {
  struct Case {
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"a\x80z", u"a\uFFFDz"},                 // stray continuation
      {"\xC0\xAF", u"\uFFFD\uFFFD"},           // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
      {"\xE2\x82", u"\uFFFD"},                 // truncated
      {"\xE2\x82z", u"\uFFFDz"},
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].text, std::u16string(Str::FromUtf8(cases[i].bytes).View())) << "case " << i;
  }
  // An unpaired surrogate cannot be written as UTF-8.
  EXPECT_EQ("\xEF\xBF\xBD" "a", Str(u"\xD800" u"a").ToUtf8());
  // Characters outside Windows-1252 become "?".
  EXPECT_EQ("?a", Str(u"\u4E2Da").ToBytes(kCodePageWindows1252));
}

TEST(StrTest, Utf16Bytes) {
  const char le[] = {'A', 0, 0x34, 0x12, 0, 0};
  const char be[] = {0, 'A', 0x12, 0x34, 0, 0};
  Str fromLe = Str::FromBytes(le, -1, kCodePageUtf16LE);
  Str fromBe = Str::FromBytes(be, 4, kCodePageUtf16BE);
  EXPECT_EQ(kCodePageUtf16LE, fromBe.GetCodePage());
  EXPECT_EQ(std::u16string(u"A\u1234"), std::u16string(fromLe.View()));
  EXPECT_EQ(std::u16string(u"A\u1234"), std::u16string(fromBe.View()));
  EXPECT_EQ(std::string(be, 4), fromLe.ToBytes(kCodePageUtf16BE));
  EXPECT_EQ(std::string(le, 4), fromBe.ToBytes(kCodePageUtf16LE));
  EXPECT_EQ(std::u16string(u"A\uFFFD"), std::u16string(Str::FromBytes(le, 3, kCodePageUtf16LE).View()));
  EXPECT_TRUE(Str::FromBytes(nullptr, 3, kCodePageUtf8).IsNull());
}

std::u16string Upper(std::string_view bytes) {
  std::u16string out;
  for (char c : bytes) out.push_back(static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 32 : c));
  return out;
}
std::string Lower(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out.push_back(static_cast<char>(c >= u'A' && c <= u'Z' ? c + 32 : c));
  return out;
}

TEST(StrTest, AnsiConverterHook) {
  const AnsiConverter saved = GetAnsiConverter();
  SetAnsiConverter(AnsiConverter{&Upper, &Lower});
  Str ansi = Str::FromBytes("abc", -1, kCodePageAnsi);
  EXPECT_EQ(std::u16string(u"ABC"), std::u16string(ansi.View()));
  EXPECT_EQ("xyz", Str(u"XYZ").ToBytes(kCodePageAnsi));
  EXPECT_EQ(std::u16string(u"\u20AC"), std::u16string(Str::FromBytes("\x80", 1, 1252).View()));
  SetAnsiConverter(saved);
  EXPECT_EQ(std::u16string(u"abc"), std::u16string(Str::FromBytes("abc", -1, kCodePageAnsi).View()));
}

TEST(StrTest, CompareFoldsOnlyAscii) {
  struct Case {
    const char16_t* a;
    const char16_t* b;
    bool ignoreCase;
    int sign;
  };
  const Case cases[] = {
      {u"abc", u"abc", false, 0},      {u"abc", u"ABC", false, 1},
      {u"abc", u"ABC", true, 0},       {u"ab", u"abc", true, -1},
      {u"\u00E9", u"\u00C9", true, 1},  // no folding outside A-Z
      {u"[", u"a", true, -1},          // "[" sorts below folded letters
      {u"[", u"A", false, 1},          {nullptr, u"", false, 0},
      {u"\uFFFF", u"a", false, 1},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const int r = Str(c.a).Compare(Str(c.b), c.ignoreCase);
    EXPECT_EQ(c.sign, (r > 0) - (r < 0)) << "case " << i;
    EXPECT_EQ(c.sign == 0, Str(c.a).Equals(Str(c.b), c.ignoreCase)) << "case " << i;
  }
  // Mixed code pages compare by text.
  EXPECT_TRUE(Str::FromBytes("\xC3\xA9", -1, kCodePageUtf8) == Str(u"\u00E9"));
}

TEST(StrTest, Searching) {
  const Str s(u"Hello, hello");
  EXPECT_TRUE(s.StartsWith(u"Hell"));
  EXPECT_FALSE(s.StartsWith(u"hell"));
  EXPECT_TRUE(s.StartsWith(u"hell", true));
  EXPECT_TRUE(s.EndsWith(u"LO", true));
  EXPECT_FALSE(s.EndsWith(u"xHello, hello"));
  EXPECT_EQ(7, s.IndexOf(u"hello"));
  EXPECT_EQ(0, s.IndexOf(u"hello", 0, true));
  EXPECT_EQ(7, s.IndexOf(u"hello", 1, true));
  EXPECT_EQ(-1, s.IndexOf(u"hello", 8, true));
  EXPECT_EQ(-1, s.IndexOf(u"hello", 100));
  EXPECT_EQ(4, s.IndexOf(u'o'));
  EXPECT_EQ(11, s.LastIndexOf(u'o'));
  EXPECT_EQ(-1, s.LastIndexOf(u'z'));
  EXPECT_EQ(-1, Str().IndexOf(u'a'));
  Str utf8 = Str::FromBytes("\xC3\xA9=1", -1, kCodePageUtf8);
  EXPECT_EQ(2, utf8.IndexOf(u'='));  // byte position in a byte string
  EXPECT_EQ(u'=', utf8[2]);
  EXPECT_EQ(0, utf8[9]);
}

TEST(StrTest, SubstringClamps) {
  struct Case {
    int start;
    int end;
    const char16_t* expected;
  };
  const Case cases[] = {{0, 3, u"abc"}, {1, 3, u"bc"}, {-5, 2, u"ab"}, {4, 99, u"ef"},
                        {3, 1, u""},   {9, 12, u""},  {0, 0, u""}};
  const Str s(u"abcdef");
  for (size_t i = 0; i < std::size(cases); ++i) {
    Str sub = s.Substring(cases[i].start, cases[i].end);
    EXPECT_EQ(Str(cases[i].expected), sub) << "case " << i;
    EXPECT_FALSE(sub.IsNull()) << "case " << i;
  }
  EXPECT_EQ(Str(u"def"), s.Substring(3));
  EXPECT_TRUE(Str().Substring(0, 3).IsNull());
}

TEST(StrTest, ReplaceAndTrim) {
  struct Case {
    const char16_t* text;
    const char16_t* from;
    const char16_t* to;
    bool ignoreCase;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"a.b.c", u".", u"\\", false, u"a\\b\\c"},
      {u"aaa", u"a", u"aa", false, u"aaaaaa"},  // no rescan of the replacement
      {u"AbAB", u"ab", u"x", true, u"xx"},
      {u"AbAB", u"ab", u"x", false, u"AbAB"},
      {u"abc", u"", u"x", false, u"abc"},
      {u"abcabc", u"bc", u"", false, u"aa"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    Str s(cases[i].text);
    s.Replace(cases[i].from, cases[i].to, cases[i].ignoreCase);
    EXPECT_EQ(Str(cases[i].expected), s) << "case " << i;
  }
  Str spaced(u"  \ta b\t  ");
  EXPECT_EQ(Str(u"\ta b\t"), spaced.Trim());
  Str blank(u"   ");
  EXPECT_FALSE(blank.Trim().IsNull());
  EXPECT_TRUE(blank.IsEmpty());
}

TEST(StrTest, Format) {
  struct Case {
    Str actual;
    const char16_t* expected;
  };
  const uint64_t big = 18446744073709551615ull;
  const Case cases[] = {
      {Str::Formatted(u"%d|%5d|%-5d|%05d|%+d", 42, -42, 7, -42, 3), u"42|  -42|7    |-0042|+3"},
      {Str::Formatted(u"%u %u", 4000000000u, 0u), u"4000000000 0"},
      {Str::Formatted(u"%I64u %I64d", big, INT64_MIN), u"18446744073709551615 -9223372036854775808"},
      {Str::Formatted(u"s.f.%d.Item", 12), u"s.f.12.Item"},
      {Str::Formatted(u"[%s][%s][%4s][%-4s][%.2s]", u"ab", static_cast<const char16_t*>(nullptr), u"ab", u"ab",
                      u"abc"),
       u"[ab][][  ab][ab  ][ab]"},
      {Str::Formatted(u"%c%c", u'A', u'\u00E9'), u"A\u00E9"},
      {Str::Formatted(u"%x %X %08X %#x", 255u, 255u, 0xBEEFu, 16u), u"ff FF 0000BEEF 0x10"},
      {Str::Formatted(u"100%% %d%%", 5), u"100% 5%"},
      {Str::Formatted(u"%.3f KB", 1.5), u"1.500 KB"},
      {Str::Formatted(u"%f|%8.2f|%-6.1f|%g", 0.5, 3.14159, 2.0, 1e20), u"0.500000|    3.14|2.0   |1e+20"},
      {Str::Formatted(u"%*d|%.3d", 4, 7, 5), u"   7|005"},
      {Str::Formatted(u"%hs", "\xC3\xA9"), u"\u00E9"},
      {Str::Formatted(u"%q %d", 1), u"%q 1"},
      {Str::Formatted(u"%ld %lld %zu", 5L, 6LL, static_cast<size_t>(7)), u"5 6 7"},
      {Str::Formatted(u"%d", INT_MIN), u"-2147483648"},
      {Str::Formatted(u"end%"), u"end%"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(Str(cases[i].expected), cases[i].actual) << "case " << i << ": " << Utf8(cases[i].actual);
  }
  Str s(u"old");
  s.Format(u"%s-%s", s.GetBuffer(), u"new");
  EXPECT_EQ(Str(u"old-new"), s);
  EXPECT_FALSE(Str::Formatted(u"").IsNull());
}

TEST(StrTest, ToInt) {
  struct Case {
    const char16_t* text;
    int base;
    int64_t expected;
  };
  const Case cases[] = {
      {u"42", 10, 42},         {u"  -17xyz", 10, -17},   {u"+8", 10, 8},
      {u"\t\n 5", 10, 5},      {u"abc", 10, 0},          {u"", 10, 0},
      {u"0x1F", 10, 0},        {u"0x1F", 16, 31},        {u"1f", 16, 31},
      {u"0x", 16, 0},          {u"017", 0, 15},          {u"0x10", 0, 16},
      {u"101", 2, 5},          {u"- 5", 10, 0},          {u"12", 1, 0},
      {u"99999999999", 10, INT_MAX}, {u"-99999999999", 10, INT_MIN},
      {u"-2147483648", 10, INT_MIN}, {u"2147483647", 10, INT_MAX},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].expected, Str(cases[i].text).ToInt(cases[i].base)) << "case " << i;
  }
  EXPECT_EQ(INT64_MIN, Str(u"-9223372036854775808").ToInt64());
  EXPECT_EQ(INT64_MAX, Str(u"99999999999999999999").ToInt64());
  EXPECT_EQ(99999999999LL, Str(u"99999999999").ToInt64());
}

TEST(StrTest, Split) {
  Str s(u"a;\tb;c;\t");
  EXPECT_EQ(Str(u"a"), s.Split(u";"));
  EXPECT_EQ(Str(u"\tb"), s.Split(u";"));
  EXPECT_EQ(Str(u"c"), s.Split(u";\t"));
  EXPECT_EQ(Str(u"\t"), s);
  EXPECT_EQ(Str(u""), s.Split(u"\t"));
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_FALSE(s.IsNull());

  Str rest(u"no delimiter");
  EXPECT_EQ(Str(u"no delimiter"), rest.Split(u","));
  EXPECT_TRUE(rest.IsEmpty());
  EXPECT_FALSE(rest.IsNull());

  Str none;
  EXPECT_TRUE(none.Split(u",").IsNull());
  EXPECT_TRUE(none.IsNull());
}

TEST(StrTest, ByteStringOperations) {
  Str s = Str::FromBytes("  key=\xC3\xA9  ", -1, kCodePageUtf8);
  s.Trim();
  EXPECT_EQ(kCodePageUtf8, s.GetCodePage());
  EXPECT_EQ(6, s.GetLength());
  s.Replace(u"\u00E9", u"\u20AC");
  EXPECT_EQ("key=\xE2\x82\xAC", std::string(s.Bytes()));
  s.Append(u"!");
  EXPECT_EQ(Str(u"key=\u20AC!"), s);
  EXPECT_TRUE(s.StartsWith(u"KEY", true));
  Str key = s.Split(u"=");
  EXPECT_EQ(kCodePageUtf8, key.GetCodePage());
  EXPECT_EQ(Str(u"key"), key);
  // A cached conversion follows changes of the text.
  Str bytes = Str::FromBytes("ab", -1, kCodePageWindows1252);
  EXPECT_EQ(std::u16string_view(u"ab"), std::u16string_view(bytes.GetBuffer()));
  bytes.Append(u'\u20AC');
  EXPECT_EQ(std::u16string_view(u"ab\u20AC"), std::u16string_view(bytes.GetBuffer()));
  Str copy;
  copy = bytes;
  EXPECT_EQ(kCodePageWindows1252, copy.GetCodePage());
  EXPECT_TRUE(copy.ToCodePage(kCodePageUtf16BE).GetCodePage() == kCodePageUtf16LE);
}

TEST(ObjectTest, IdentityAndDisposal) {
  Object a;
  Object b;
  EXPECT_TRUE(a.Equals(&a));
  EXPECT_FALSE(a.Equals(&b));
  EXPECT_FALSE(a.Equals(nullptr));
  EXPECT_EQ(Str(u"Object"), a.ToString());
  EXPECT_FALSE(a.IsDisposed());
  a.Dispose();
  EXPECT_TRUE(a.IsDisposed());
  Str s(u"text");
  EXPECT_EQ(Str(u"text"), s.ToString());
  EXPECT_EQ(std::u16string_view(u"Str"), std::u16string_view(s.ClassName()));
  const Object& asObject = s;
  EXPECT_TRUE(asObject.Equals(&s));
}

}  // namespace
}  // namespace cc
