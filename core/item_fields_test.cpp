#include "core/item_fields.h"

#include <gtest/gtest.h>

#include "core/key_arr.h"

namespace cc {
namespace {

TEST(ItemFieldsTest, SplitKeepsTheRestWhole) {
  struct Case {
    const char16_t* value;
    int leading;
    std::vector<std::u16string> expected;
  } cases[] = {
      {u"1;\t5;\tC:\\a;\tb", 2, {u"1", u"5", u"C:\\a;\tb"}},
      {u"1;\t5", 3, {u"1", u"5", u"", u""}},
      {u"", 1, {u"", u""}},
      {u"a;b\tc;\t", 1, {u"a;b\tc", u""}},  // only the pair separates
      {u";\t;\t", 0, {u";\t;\t"}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::vector<Str> fields = SplitItemFields(cases[i].value, cases[i].leading);
    ASSERT_EQ(fields.size(), cases[i].expected.size()) << "case " << i;
    for (size_t f = 0; f < fields.size(); ++f) {
      EXPECT_EQ(std::u16string(fields[f].View()), cases[i].expected[f]) << "case " << i << " field " << f;
    }
  }
}

// What the packer writes into the configuration text is what the runtime
// reads back: the halves are signed 32-bit numbers, the tab an escape.
TEST(ItemFieldsTest, TimeTextRoundTripsThroughTheConfiguration) {
  struct Case {
    uint64_t fileTime;
    const char16_t* text;
  } cases[] = {
      {0, u"0;\t0"},
      {(uint64_t{30000000} << 32) | 0xFFFFFFFFu, u"30000000;\t-1"},
      {0x8000000080000000u, u"-2147483648;\t-2147483648"},
      {0xFFFFFFFFFFFFFFFFu, u"-1;\t-1"},
      {(uint64_t{36663651} << 32) | 2003042304u, u"36663651;\t2003042304"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(std::u16string(ItemTimeText(cases[i].fileTime).View()), cases[i].text) << "case " << i;
    KeyArr config(false, true);
    config.Parse(Str(u"[s.f]\n1.Item.Time=") + ItemTimeText(cases[i].fileTime, u";\\t"));
    EXPECT_EQ(ParseItemTime(config.Get(u"s.f.1.Item.Time")), cases[i].fileTime) << "case " << i;
  }
}

TEST(ItemFieldsTest, TimeReadsThirtyTwoBitsOfEachHalf) {
  struct Case {
    const char16_t* text;
    uint64_t expected;
  } cases[] = {
      {u"4294967295;\t4294967295", 0xFFFFFFFFFFFFFFFFu},
      {u"5", uint64_t{5} << 32},
      {u"", 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ParseItemTime(cases[i].text), cases[i].expected) << "case " << i;
  }
}

}  // namespace
}  // namespace cc
