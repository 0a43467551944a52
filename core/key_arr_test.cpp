#include "core/key_arr.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/exceptions.h"

namespace cc {
namespace {

// "key=value" lines in key order; tabs and carriage returns shown escaped.
std::string Dump(const KeyArr& store) {
  std::string out;
  for (int i = 0; i < store.Count(); ++i) {
    out += store.KeyAt(i).ToUtf8() + "=" + store.ValueAt(i).ToUtf8() + "\n";
  }
  std::string shown;
  for (char c : out) {
    if (c == '\t') shown += "\\t";
    else if (c == '\r') shown += "\\r";
    else shown += c;
  }
  return shown;
}

TEST(KeyArrParseTest, Syntax) {
  struct Case {
    const char16_t* text;
    int stored;
    const char* entries;
  };
  const Case cases[] = {
      {u"[s.i]\nItem?=a\nItem?=b", 2, "s.i.Item.Count=2\ns.i.Item0=a\ns.i.Item1=b\n"},
      {u"[s.i]\nItem.?=x", 1, "s.i.Item..Count=1\ns.i.Item.0=x\n"},
      {u"=x\nno equals sign\n", 0, ""},
      {u"a==b", 1, "a==b\n"},
      {u"  a = b  ", 1, "a = b\n"},
      {u"\tk=v", 1, "\\tk=v\n"},
      {u"[s.c]\n[]\nx=1", 1, "s.c.x=1\n"},
      {u"#a=1\n;b=2\n/c=3\n  # d=4", 0, ""},
      {u"k=a\\\\b\\qc\\td", 1, "k=a\\b\\qc\\td\n"},
      {u"k=a\\nb", 1, "k=a\nb\n"},
      {u"k=a\\\\nb\\", 1, "k=a\\nb\\\n"},
      {u"a=1\r\nb=2\r\n\r\n", 2, "a=1\nb=2\n"},
      {u"a=x\ry", 1, "a=xy\n"},
      {u"  a=b \r \r\n\r [s] \r\nk=\\t\rx\r", 2, "a=b\ns.k=\\tx\n"},
      {u"[]", 0, ""},
      {u"[s.x]", 0, ""},
      {u"[a=b]\nk=v", 1, "a=b.k=v\n"},
      {u"[s]\nItem?=a\nItem.Count=9", 2, "s.Item.Count=1\ns.Item0=a\n"},
      {u"\uFEFF[s]\nk=v", 1, "s.k=v\n"},
      {u"Key=1\nKEY=2\nkey=3\nKey=4", 4, "Key=4\n"},
      {u"?=x\n?\?=y", 2, "?=x\n?.Count=1\n?0=y\n"},
      {u"[s]\nItem?=a\nITEM?=b", 2, "s.Item.Count=2\ns.Item0=a\ns.ITEM1=b\n"},
      {u"[a]\nI?=1\n[b]\nI?=2\n[a]\nI?=3", 3, "a.I.Count=2\na.I0=1\na.I1=3\nb.I.Count=1\nb.I0=2\n"},
      {u"k=", 1, "k=\n"},
      {u"", 0, ""},
      {u"\n\n\n", 0, ""},
      {u"[", 0, ""},
      {u"[[x]]\nk=1", 1, "[x].k=1\n"},
      {u"k=a \\x20  \r\n", 1, "k=a  \n"},
      {u"k=\\x20", 1, "k= \n"},
      {u"k=C:\\x20dir\\x20\\", 1, "k=C:\\x20dir\\x20\\\n"},
      {u"k=a\\\\x20", 1, "k=a\\x20\n"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    KeyArr store;
    EXPECT_EQ(cases[i].stored, store.Parse(cases[i].text)) << "case " << i;
    EXPECT_EQ(cases[i].entries, Dump(store)) << "case " << i;
  }
}

TEST(KeyArrParseTest, AddsToExistingEntries) {
  KeyArr store(false, true);
  store.Set(u"Key", u"old");
  store.Set(u"s.i.Item0", u"kept?");
  store.SetModified(false);
  EXPECT_EQ(2, store.Parse(u"KEY=new\nz=1"));
  EXPECT_TRUE(store.IsModified());
  EXPECT_EQ("Key=new\ns.i.Item0=kept?\nz=1\n", Dump(store));

  // Each parse counts from 0 again: the second one overwrites.
  EXPECT_EQ(2, store.Parse(u"[s.i]\nItem?=a\nItem?=b"));
  EXPECT_EQ(1, store.Parse(u"[s.i]\nItem?=c"));
  EXPECT_EQ(Str(u"c"), store.Get(u"s.i.Item0"));
  EXPECT_EQ(Str(u"b"), store.Get(u"s.i.Item1"));
  EXPECT_EQ(1, store.GetInt(u"s.i.Item.Count", -1));

  store.SetModified(false);
  EXPECT_EQ(0, store.Parse(u"# nothing"));
  EXPECT_FALSE(store.IsModified());
}

TEST(KeyArrParseTest, ByteTexts) {
  const Str utf8 = Str::FromBytes("k=\xC3\xA9\n[S]\nx=1", -1, kCodePageUtf8);
  KeyArr wide;
  wide.Parse(utf8);
  EXPECT_EQ(kCodePageUtf16LE, wide.Get(u"k").GetCodePage());
  EXPECT_EQ(Str(u"\u00E9"), wide.Get(u"k"));
  KeyArr bytes;
  bytes.Parse(utf8, false);
  EXPECT_EQ(kCodePageUtf8, bytes.Get(u"k").GetCodePage());
  EXPECT_EQ(Str(u"\u00E9"), bytes.Get(u"k"));
  EXPECT_EQ(1, bytes.GetInt(u"s.x", 0));
}

// The reference: each line stored with Set as it is read.
void ParseLineByLine(KeyArr& store, const std::u16string& text) {
  KeyArr counters(false, store.IgnoreCase());
  Str rest(text);
  Str prefix(u"");
  while (!rest.IsEmpty()) {
    Str line = rest.Split(u"\n");
    line.Replace(u"\r", u"").Trim();
    if (line.IsEmpty() || line[0] == u'#' || line[0] == u';' || line[0] == u'/') continue;
    if (line[0] == u'[' && line.EndsWith(u"]")) {
      if (line.GetLength() > 2) prefix = line.Substring(1, line.GetLength() - 1) + u".";
      continue;
    }
    const int equals = line.IndexOf(u'=');
    if (equals <= 0) continue;
    Str name = line.Substring(0, equals);
    Str value = line.Substring(equals + 1);
    value.Replace(u"\\\\", u"\x1").Replace(u"\\n", u"\n").Replace(u"\\t", u"\t").Replace(u"\\r", u"\r");
    value.Replace(u"\x1", u"\\");
    if (name.GetLength() >= 2 && name.EndsWith(u"?")) {
      const Str base = prefix + name.Substring(0, name.GetLength() - 1);
      const int n = counters.GetInt(base + u".Count", 0);
      store.Set(base + Str::Formatted(u"%d", n), value);
      counters.SetInt(base + u".Count", n + 1);
    } else {
      store.Set(prefix + name, value);
    }
  }
  for (int i = 0; i < counters.Count(); ++i) store.Set(counters.KeyAt(i), counters.ValueAt(i));
}

// Random texts over a small alphabet of names, sections and spellings, so
// that repeats, case variants, counters and explicit ".Count" keys collide
// often; the one-merge parse must give what line-by-line storing gives.
TEST(KeyArrParseTest, MatchesLineByLineStoring) {
  std::mt19937 random(12345);
  const std::u16string names[] = {u"a", u"A", u"b", u"Item?", u"ITEM?", u"Item.Count", u"item0", u"x.?"};
  const std::u16string values[] = {u"1", u"", u"v", u"=w"};  // no escapes: the reference undoes only simple ones
  const std::u16string sections[] = {u"[s]", u"[S]", u"[t.u]", u"[]"};
  for (int round = 0; round < 300; ++round) {
    const bool ignoreCase = round % 3 != 0;
    KeyArr bulk(false, ignoreCase);
    KeyArr reference(false, ignoreCase);
    for (const char16_t* key : {u"a", u"S.A", u"s.Item.Count"}) {
      if (random() % 2) {
        bulk.Set(key, u"pre");
        reference.Set(key, u"pre");
      }
    }
    std::u16string text;
    const int lines = random() % 12;
    for (int k = 0; k < lines; ++k) {
      if (random() % 4 == 0) {
        text += sections[random() % 4];
      } else {
        text += names[random() % 8] + u"=" + values[random() % 4];
      }
      text += (random() % 5 == 0) ? u"\r\n" : u"\n";
    }
    bulk.Parse(Str(text));
    ParseLineByLine(reference, text);
    EXPECT_EQ(Dump(reference), Dump(bulk)) << "round " << round << " text:\n" << Str(text).ToUtf8();
  }
}

TEST(KeyArrTest, TypedLookups) {
  KeyArr store;
  store.Parse(u"i1=42\ni2=12abc\ni3=abc\ni4=\ni5=  -7\ni6=0x1F\n"
              u"b1=1\nb2=Yes\nb3=TRUE\nb4=2\nb5=\nb6=no\nb7= yes\nb8=01");
  struct IntCase {
    const char16_t* key;
    int expected;
  };
  const IntCase ints[] = {{u"i1", 42}, {u"I2", 12}, {u"i3", 0}, {u"i4", -1}, {u"i5", -7}, {u"i6", 0}, {u"none", -1}};
  for (size_t i = 0; i < std::size(ints); ++i) {
    EXPECT_EQ(ints[i].expected, store.GetInt(ints[i].key, -1)) << "case " << i;
  }
  struct BoolCase {
    const char16_t* key;
    bool defaultValue;
    bool expected;
  };
  const BoolCase bools[] = {{u"b1", false, true},  {u"b2", false, true},  {u"b3", false, true},
                            {u"b4", true, false},  {u"b5", true, false},  {u"b6", true, false},
                            {u"b7", true, false},  {u"b8", true, false},  {u"none", true, true},
                            {u"none", false, false}};
  for (size_t i = 0; i < std::size(bools); ++i) {
    EXPECT_EQ(bools[i].expected, store.GetBool(bools[i].key, bools[i].defaultValue)) << "case " << i;
  }
}

TEST(KeyArrTest, MissingKeysAndIndexes) {
  KeyArr plain;
  EXPECT_EQ(-1, plain.IndexOf(u"k"));
  EXPECT_EQ(0, plain.Count());
  EXPECT_TRUE(plain.Get(u"k").IsNull());
  EXPECT_TRUE(plain.ValueAt(0).IsNull());
  try {
    plain.KeyAt(0);
    ADD_FAILURE() << "KeyAt out of range raised nothing";
  } catch (const ArgumentException& e) {
    EXPECT_EQ(Str(kMapGetKeyError), e.Message());
  }

  KeyArr marked(true, true);
  marked.Set(u"a", u"1");
  EXPECT_EQ(Str(u"k[NOFOUND]"), marked.Get(u"k"));
  EXPECT_EQ(Str(u"5[NOFOUND]"), marked.ValueAt(5));
  EXPECT_EQ(Str(u"-1[NOFOUND]"), marked.ValueAt(-1));
  EXPECT_EQ(Str(u"1"), marked.ValueAt(0));
  EXPECT_EQ(0, marked.GetInt(u"k", 0));  // the marker is not a stored value

  KeyArr caseSensitive(false, false);
  caseSensitive.Set(u"Key", u"1");
  EXPECT_FALSE(caseSensitive.Has(u"KEY"));
  caseSensitive.Set(u"KEY", u"2");
  EXPECT_EQ(2, caseSensitive.Count());
  caseSensitive.SetIgnoreCase(true);
  EXPECT_EQ(1, caseSensitive.Count());
  EXPECT_EQ(Str(u"1"), caseSensitive.Get(u"key"));  // old order: "KEY"=2, then "Key"=1
  EXPECT_EQ(Str(u"KEY"), caseSensitive.KeyAt(0));
}

TEST(KeyArrTest, Updates) {
  KeyArr store;
  EXPECT_FALSE(store.IsModified());
  store.Set(u"s.c.Width", u"500");
  EXPECT_TRUE(store.IsModified());
  EXPECT_EQ(500, store.GetInt(u"S.C.WIDTH", 0));
  EXPECT_EQ(0, store.IndexOf(u"s.c.width"));

  store.Set(u"k", u"");
  EXPECT_TRUE(store.Has(u"k"));
  EXPECT_FALSE(store.Get(u"k").IsNull());
  store.Set(u"k", store.Get(u"missing"));  // a null value removes
  EXPECT_FALSE(store.Has(u"k"));

  store.SetInt(u"n", -12);
  store.SetBool(u"t", true);
  store.SetBool(u"f", false);
  EXPECT_EQ(Str(u"-12"), store.Get(u"n"));
  EXPECT_EQ(Str(u"1"), store.Get(u"t"));
  EXPECT_EQ(Str(u"0"), store.Get(u"f"));

  store.SetModified(false);
  store.SetValueAt(store.IndexOf(u"n"), u"7");
  EXPECT_TRUE(store.IsModified());
  EXPECT_EQ(7, store.GetInt(u"n", 0));
  store.SetValueAt(store.IndexOf(u"n"), Str());
  EXPECT_TRUE(store.Has(u"n"));
  EXPECT_FALSE(store.Get(u"n").IsNull());
  store.SetValueAt(99, u"x");
  EXPECT_EQ(4, store.Count());

  store.Remove(u"T");
  EXPECT_FALSE(store.Has(u"t"));
  store.Clear();
  EXPECT_EQ(0, store.Count());
}

TEST(KeyArrTest, CopiesAreIndependent) {
  KeyArr original;
  original.Set(u"a", u"1");
  KeyArr copy = original;
  copy.Set(u"a", u"2");
  copy.Set(u"b", u"3");
  EXPECT_EQ(Str(u"1"), original.Get(u"a"));
  EXPECT_EQ(1, original.Count());
  EXPECT_EQ(2, copy.Count());
}

}  // namespace
}  // namespace cc
