#include "install/registry_items.h"

#include <gtest/gtest.h>

#include <string>

#include "install/install_test_support.h"
#include "platform/os_version.h"

namespace {

using install_test::InstallWorld;
using install_test::kAllSystems;

constexpr uint32_t kWrite = kRegItemWrite;
constexpr uint32_t kRecord = kRegItemRecord;

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

TEST(RegistryItemsTest, ValueTextsGiveTypeAndData) {
  struct Case {
    const char16_t* text;
    uint32_t type;
    std::string data;
  };
  const Case cases[] = {
      {u"dword:255", kRegDword, RegDwordData(255)},
      {u"dword:0xFF", kRegDword, RegDwordData(0)},  // decimal only: reading stops at the x
      {u"DWord:4294967295", kRegDword, RegDwordData(0xFFFFFFFFu)},
      {u"dword:-1", kRegDword, RegDwordData(0xFFFFFFFFu)},
      {u"dword:", kRegDword, RegDwordData(0)},
      {u"hex:1,2,255", kRegBinary, Bytes({1, 2, 255})},
      {u"hex:ff", kRegBinary, Bytes({0})},
      {u"HEX:256,257,-1", kRegBinary, Bytes({0, 1, 255})},
      {u"hex:7,", kRegBinary, Bytes({7, 0})},
      {u"hex:", kRegBinary, std::string()},
      {u"C:\\Program Files\\Demo", kRegSz, RegStringData(u"C:\\Program Files\\Demo")},
      {u"dword 5", kRegSz, RegStringData(u"dword 5")},
      {u"", kRegSz, RegStringData(u"")},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    RegistryItemValue value = ParseRegistryItemValue(cases[i].text);
    EXPECT_EQ(value.type, cases[i].type) << "case " << i;
    EXPECT_EQ(value.data, cases[i].data) << "case " << i;
  }
}

class RegistryItemsRun : public ::testing::Test {
 protected:
  RegistryItemsRun() { world.session.os_index = GetOsVersion(world.platform, &world.session.is64); }

  void Item(int n, int root, uint32_t flags, const char16_t* key, const char16_t* values) {
    world.store.Set(cc::Str::Formatted(u"s.i.Reg.%d.Item", n),
                    cc::Str::Formatted(u"%d;\t%u;\t%s;\t%s", root, flags, key, values));
    world.store.SetInt(u"s.i.Reg.Count", n + 1);
  }
  RegValue Value(RegRoot root, const char16_t* key, const char16_t* name) {
    RegValue value;
    value.type = 0xFFFF;  // stays so when the value is missing
    world.platform.fake_registry.GetValue(root, key, name, &value);
    return value;
  }

  InstallWorld world;
};

// Values are taken in ascending order of their names, a repeated name keeps
// its last value, the four roots are addressed by index (5 is
// HKEY_USERS), and the record lists each recorded value with its root and
// key, also when the item only records; a value the guard kept is not the
// install's, so it is not recorded for removal.
TEST_F(RegistryItemsRun, WritesAndRecordsEachItemInNameOrder) {
  world.platform.fake_registry.PutString(RegRoot::kLocalMachine, u"Software\\Pre", u"keep", u"old");
  Item(0, 1, kAllSystems | kWrite | kRecord, u"Software\\Velmora\\Test", u"b=2\na=dword:255\nb=second\nB=upper");
  Item(1, 5, kAllSystems | kWrite, u"Velmora\\Users", u"x=1");
  Item(2, 2, kAllSystems | kRecord, u"Software\\Pre", u"keep=new\nother=1");
  Item(3, 0, 0x40 | kWrite | kRecord, u".velmora32only", u"x=1");  // no bitness bit: not this system
  Item(4, -1, kAllSystems | kWrite | kRecord, u"Velmora\\Negative", u"x=1");
  Item(5, 3, kAllSystems | kWrite | kRecord, u"Velmora\\Empty", u"");
  WriteRegistryItems(world.session);

  EXPECT_EQ(world.session.record.Utf8(),
            "RegRoot?=1\r\nRegDir?=Software\\Velmora\\Test\r\nReg?=B\r\n"
            "RegRoot?=1\r\nRegDir?=Software\\Velmora\\Test\r\nReg?=a\r\n"
            "RegRoot?=2\r\nRegDir?=Software\\Pre\r\nReg?=keep\r\n"
            "RegRoot?=2\r\nRegDir?=Software\\Pre\r\nReg?=other\r\n");

  struct Case {
    RegRoot root;
    const char16_t* key;
    const char16_t* name;
    uint32_t type;
    std::string data;
  };
  const Case cases[] = {
      {RegRoot::kCurrentUser, u"Software\\Velmora\\Test", u"a", kRegDword, RegDwordData(255)},
      // Value names ignore letter case in the registry: "B" comes first in
      // the names' order and writes the value; "b" then finds data there
      // and keeps it.
      {RegRoot::kCurrentUser, u"Software\\Velmora\\Test", u"b", kRegSz, RegStringData(u"upper")},
      {RegRoot::kUsers, u"Velmora\\Users", u"x", kRegSz, RegStringData(u"1")},
      {RegRoot::kLocalMachine, u"Software\\Pre", u"keep", kRegSz, RegStringData(u"old")},
      {RegRoot::kLocalMachine, u"Software\\Pre", u"other", 0xFFFF, ""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    RegValue value = Value(cases[i].root, cases[i].key, cases[i].name);
    EXPECT_EQ(value.type, cases[i].type) << "case " << i;
    EXPECT_EQ(value.data, cases[i].data) << "case " << i;
  }
  EXPECT_FALSE(world.platform.fake_registry.HasKey(RegRoot::kClassesRoot, u".velmora32only"));
  EXPECT_FALSE(world.platform.fake_registry.HasKey(RegRoot::kUsers, u"Velmora\\Negative"));
  EXPECT_TRUE(world.platform.fake_registry.HasKey(RegRoot::kUsers, u"Velmora\\Empty"));
}

// An existing value with data is kept unless the item asks to replace it;
// a missing value or one without data is written. Only written values are
// recorded: the uninstall must not delete the user's own.
TEST_F(RegistryItemsRun, ExistingDataIsKeptUnlessTheItemReplacesIt) {
  struct Case {
    uint32_t existing_type;  // 0: no value
    std::string existing_data;
    bool replace;
    bool written;
  };
  const Case cases[] = {
      {0, "", false, true},
      {kRegSz, RegStringData(u""), false, true},
      {kRegSz, std::string(), false, true},  // a string stored without its terminator
      {kRegExpandSz, RegStringData(u""), false, true},
      {kRegBinary, std::string(), false, true},
      {kRegSz, RegStringData(u"user's"), false, false},
      {kRegDword, RegDwordData(0), false, false},
      {kRegBinary, Bytes({0}), false, false},
      {kRegSz, RegStringData(u"user's"), true, true},
      {kRegDword, RegDwordData(7), true, true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const cc::Str key = cc::Str::Formatted(u"Software\\Guard%d", static_cast<int>(i));
    if (cases[i].existing_type != 0) {
      auto k = world.platform.fake_registry.CreateKey(RegRoot::kCurrentUser, key);
      k->SetValue(u"v", cases[i].existing_type, cases[i].existing_data);
    }
    uint32_t flags = kAllSystems | kWrite | kRecord | (cases[i].replace ? kRegItemReplace : 0);
    Item(static_cast<int>(i), 1, flags, key.GetBuffer(), u"v=ours");
  }
  WriteRegistryItems(world.session);
  std::string expectedRecord;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const cc::Str key = cc::Str::Formatted(u"Software\\Guard%d", static_cast<int>(i));
    if (cases[i].written) expectedRecord += "RegRoot?=1\r\nRegDir?=" + key.ToUtf8() + "\r\nReg?=v\r\n";
    RegValue value = Value(RegRoot::kCurrentUser, key.GetBuffer(), u"v");
    if (cases[i].written) {
      EXPECT_EQ(value.type, kRegSz) << "case " << i;
      EXPECT_EQ(value.data, RegStringData(u"ours")) << "case " << i;
    } else {
      EXPECT_EQ(value.type, cases[i].existing_type) << "case " << i;
      EXPECT_EQ(value.data, cases[i].existing_data) << "case " << i;
    }
  }
  EXPECT_EQ(world.session.record.Utf8(), expectedRecord);
}

}  // namespace
