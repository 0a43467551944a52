#include "runtime/run_conditions.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_platform.h"
#include "runtime/os_flags.h"

namespace {

std::string Utf8(const cc::Str& text) { return text.ToUtf8(); }

const char16_t kKey[] = u"Software\\Acme\\Tool";

class RunConditionsTest : public ::testing::Test {
 protected:
  RunConditionsTest() { platform_.SetOs(MakeFakeOs(FakeWindows::k7, true)); }

  void SetRegistryCondition(uint32_t extraFlags, int type, const char16_t* expected,
                            const char16_t* valueName = u"Version") {
    store_.SetInt(u"s.i.Condition.Flag", static_cast<int>(kConditionCheckRegistry | extraFlags));
    store_.SetInt(u"s.i.Condition.RegRoot", 2);
    store_.Set(u"s.i.Condition.RegDir", kKey);
    store_.Set(u"s.i.Condition.RegKey", valueName);
    store_.Set(u"s.i.Condition.RegVal", expected);
    store_.SetInt(u"s.i.Condition.RegType", type);
  }

  FakePlatform platform_;
  cc::KeyArr store_{false, true};
};

TEST_F(RunConditionsTest, WindowsVersionAndBitness) {
  struct Case {
    FakeWindows windows;
    bool is64;
    uint32_t flags;
    bool allowed;
  };
  const Case cases[] = {
      {FakeWindows::k7, true, kOsFlagWindows7 | kOsFlag64Bit, true},
      {FakeWindows::k7, false, kOsFlagWindows7 | kOsFlag64Bit, false},
      {FakeWindows::k7, true, kOsFlagWindows8 | kOsFlagWindows81 | kOsFlag64Bit | kOsFlag32Bit, false},
      {FakeWindows::k10, false, kOsFlagLater | kOsFlag32Bit, true},
      {FakeWindows::kXp, false, kOsFlagXp | kOsFlag32Bit, true},
      // 64-bit XP counts as 32-bit.
      {FakeWindows::kXp, true, kOsFlagXp | kOsFlag64Bit, false},
      // Neither bitness bit refuses every machine.
      {FakeWindows::k7, true, 0x7FE, false},
      {FakeWindows::k7, false, 0x7FE, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    platform_.SetOs(MakeFakeOs(c.windows, c.is64));
    EXPECT_EQ(OsMatches(c.flags, platform_), c.allowed) << "case " << i;
    cc::KeyArr store(false, true);
    store.SetInt(u"s.i.Condition.Flag", static_cast<int>(c.flags | kConditionCheckOs));
    EXPECT_EQ(CheckRunConditions(store, platform_), c.allowed) << "case " << i;
    EXPECT_EQ(Utf8(store.Get(u"Ret.ErrorInfo")), c.allowed ? "" : ".s.i.Var.ConditionError2")
        << "case " << i;
    // Without the check bit the same flags are not applied.
    store.SetInt(u"s.i.Condition.Flag", static_cast<int>(c.flags));
    store.Remove(u"Ret.ErrorInfo");
    EXPECT_TRUE(CheckRunConditions(store, platform_)) << "case " << i;
    EXPECT_FALSE(store.Has(u"Ret.ErrorInfo")) << "case " << i;
  }
}

TEST_F(RunConditionsTest, ComparisonsAsTextAndAsIntegers) {
  struct Case {
    const char16_t* stored;
    uint32_t flags;
    int type;
    const char16_t* expected;
    bool fails;
  };
  const Case cases[] = {
      {u"1.2", 0, kRegEqual, u"1.2", false},
      {u"1.2", 0, kRegEqual, u"1.20", true},
      {u"abc", 0, kRegEqual, u"ABC", true},  // case-sensitive
      {u"abc", 0, kRegNotEqual, u"ABC", false},
      {u"abc", 0, kRegNotEqual, u"abc", true},
      // As text "10" is less than "9"; as integers it is not.
      {u"10", 0, kRegLess, u"9", false},
      {u"10", kConditionCompareAsIntegers, kRegLess, u"9", true},
      {u"10", kConditionCompareAsIntegers, kRegGreater, u"9", false},
      {u"10", 0, kRegGreater, u"9", true},
      {u"5", 0, kRegLessOrEqual, u"5", false},
      {u"6", 0, kRegLessOrEqual, u"5", true},
      {u"5", 0, kRegGreaterOrEqual, u"5", false},
      {u"4", 0, kRegGreaterOrEqual, u"5", true},
      {u"12abc", kConditionCompareAsIntegers, kRegEqual, u"12", false},
      {u"x", kConditionCompareAsIntegers, kRegEqual, u"0", false},
      // An unknown comparison type always fails.
      {u"1", 0, 6, u"1", true},
      {u"1", 0, -1, u"1", true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    platform_.fake_registry.PutString(RegRoot::kLocalMachine, kKey, u"Version", c.stored);
    SetRegistryCondition(c.flags, c.type, c.expected);
    cc::Str value;
    bool found = false;
    EXPECT_EQ(RegistryConditionFails(store_, platform_, &value, &found), c.fails) << "case " << i;
    EXPECT_TRUE(found) << "case " << i;
    EXPECT_EQ(Utf8(value), Utf8(c.stored)) << "case " << i;
  }
}

TEST_F(RunConditionsTest, MissingKeysAndValues) {
  platform_.fake_registry.PutString(RegRoot::kLocalMachine, kKey, u"Empty", u"");
  platform_.fake_registry.PutString(RegRoot::kLocalMachine, kKey, u"", u"default");
  struct Case {
    const char16_t* dir;
    const char16_t* valueName;
    uint32_t flags;
    int type;
    const char16_t* expected;
    bool fails;
    bool found;
  };
  const Case cases[] = {
      // A key that does not open fails only when the value is required.
      {u"Software\\Missing", u"Version", 0, kRegEqual, u"", false, false},
      {u"Software\\Missing", u"Version", kConditionRequireValue, kRegEqual, u"", true, false},
      // A missing value reads as empty text unless it is required.
      {kKey, u"Version", 0, kRegEqual, u"", false, true},
      {kKey, u"Version", 0, kRegEqual, u"1", true, true},
      {kKey, u"Version", kConditionRequireValue, kRegNotEqual, u"1", true, false},
      // So does an empty string value.
      {kKey, u"Empty", 0, kRegEqual, u"", false, true},
      {kKey, u"Empty", kConditionRequireValue, kRegEqual, u"", true, false},
      // An empty value name is the key's default value.
      {kKey, u"", kConditionRequireValue, kRegEqual, u"default", false, true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SetRegistryCondition(c.flags, c.type, c.expected, c.valueName);
    store_.Set(u"s.i.Condition.RegDir", c.dir);
    cc::Str value;
    bool found = !c.found;
    EXPECT_EQ(RegistryConditionFails(store_, platform_, &value, &found), c.fails) << "case " << i;
    EXPECT_EQ(found, c.found) << "case " << i;
  }
}

TEST_F(RunConditionsTest, ValuesOfOtherTypesReadAsTheirRawBytes) {
  // DWORD 0x00000031 is the bytes 31 00 00 00: the text "1".
  platform_.fake_registry.PutDword(RegRoot::kLocalMachine, kKey, u"Count", 0x31);
  platform_.fake_registry.PutDword(RegRoot::kLocalMachine, kKey, u"Zero", 0);
  struct Case {
    const char16_t* valueName;
    uint32_t flags;
    const char16_t* expected;
    bool fails;
  };
  const Case cases[] = {
      {u"Count", 0, u"1", false},
      {u"Count", 0, u"49", true},
      {u"Zero", 0, u"", false},
      // A DWORD of 0 is data, not a missing value.
      {u"Zero", kConditionRequireValue, u"", false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SetRegistryCondition(cases[i].flags, kRegEqual, cases[i].expected, cases[i].valueName);
    cc::Str value;
    bool found = false;
    EXPECT_EQ(RegistryConditionFails(store_, platform_, &value, &found), cases[i].fails) << "case " << i;
  }
}

TEST_F(RunConditionsTest, RootIndexSelectsTheRoot) {
  platform_.fake_registry.PutString(RegRoot::kClassesRoot, u".acme", u"", u"hkcr");
  platform_.fake_registry.PutString(RegRoot::kCurrentUser, u".acme", u"", u"hkcu");
  platform_.fake_registry.PutString(RegRoot::kLocalMachine, u".acme", u"", u"hklm");
  platform_.fake_registry.PutString(RegRoot::kUsers, u".acme", u"", u"hku");
  const struct {
    int root;
    const char* value;
  } cases[] = {{0, "hkcr"}, {1, "hkcu"}, {2, "hklm"}, {3, "hku"}, {7, "hku"}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    SetRegistryCondition(0, kRegEqual, u"", u"");
    store_.SetInt(u"s.i.Condition.RegRoot", cases[i].root);
    store_.Set(u"s.i.Condition.RegDir", u".acme");
    cc::Str value;
    bool found = false;
    RegistryConditionFails(store_, platform_, &value, &found);
    EXPECT_EQ(Utf8(value), cases[i].value) << "case " << i;
  }
}

TEST_F(RunConditionsTest, TheVersionConditionIsReportedFirstAndAlone) {
  platform_.SetOs(MakeFakeOs(FakeWindows::k7, false));
  struct Case {
    uint32_t flags;
    const char* error;  // "" when the setup may go on
  };
  const uint32_t registryFails = kConditionCheckRegistry | kConditionRequireValue;  // key missing
  const uint32_t versionFails = kConditionCheckOs | kOsFlagWindows8 | kOsFlag32Bit;
  const uint32_t versionPasses = kConditionCheckOs | kOsFlagWindows7 | kOsFlag32Bit;
  const Case cases[] = {
      {versionFails | registryFails, ".s.i.Var.ConditionError2"},
      {versionPasses | registryFails, ".s.i.Var.ConditionError3"},
      {versionPasses | kConditionCheckRegistry, ""},
      {registryFails & ~kConditionCheckRegistry, ""},
      {0, ""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cc::KeyArr store(false, true);
    store.SetInt(u"s.i.Condition.Flag", static_cast<int>(cases[i].flags));
    store.Set(u"s.i.Condition.RegDir", u"Software\\Nowhere");
    EXPECT_EQ(CheckRunConditions(store, platform_), cases[i].error[0] == 0) << "case " << i;
    EXPECT_EQ(Utf8(store.Get(u"Ret.ErrorInfo")), cases[i].error) << "case " << i;
  }
}

}  // namespace
