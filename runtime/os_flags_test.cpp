#include "runtime/os_flags.h"

#include <gtest/gtest.h>

namespace {

TEST(OsTest, EachVersionIsCoveredByItsOwnBitOnly) {
  struct Case {
    int osIndex;
    uint32_t bit;
  };
  const Case cases[] = {
      {1, kOsFlagBelowXp},     {2, kOsFlagBelowXp},     {6, kOsFlagBelowXp},     {7, kOsFlagXp},
      {8, kOsFlagServer2003},  {9, kOsFlagServer2003},  {10, kOsFlagServer2003}, {11, kOsFlagVista},
      {12, kOsFlagServer2008}, {13, kOsFlagServer2008}, {14, kOsFlagWindows7},   {15, kOsFlagServer2012},
      {16, kOsFlagWindows8},   {17, kOsFlagServer2012}, {18, kOsFlagWindows81},  {19, kOsFlagLater},
      {25, kOsFlagLater},
  };
  const uint32_t allVersions = 0x7FE;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(OsVersionBit(c.osIndex), c.bit) << "case " << i;
    EXPECT_TRUE(OsTest(c.bit | kOsFlag32Bit, c.osIndex, 0)) << "case " << i;
    EXPECT_TRUE(OsTest(c.bit | kOsFlag64Bit, c.osIndex, 1)) << "case " << i;
    // Every other version bit, with both bitnesses, does not let it pass.
    EXPECT_FALSE(OsTest((allVersions & ~c.bit) | kOsFlag32Bit | kOsFlag64Bit, c.osIndex, 0)) << "case " << i;
  }
}

TEST(OsTest, BitnessMustMatchTheRunningSystem) {
  struct Case {
    uint32_t flags;
    int is64;
    bool allowed;
  };
  const uint32_t win7 = kOsFlagWindows7;
  const Case cases[] = {
      {win7 | kOsFlag32Bit, 0, true},   {win7 | kOsFlag32Bit, 1, false},
      {win7 | kOsFlag64Bit, 1, true},   {win7 | kOsFlag64Bit, 0, false},
      {win7, 0, false},             {win7, 1, false},  // neither bitness: refuses every machine
      {kOsFlag32Bit | kOsFlag64Bit, 0, false},                 // no version bit
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(OsTest(cases[i].flags, 14, cases[i].is64), cases[i].allowed) << "case " << i;
  }
}

}  // namespace
