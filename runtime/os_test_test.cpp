#include "runtime/os_test.h"

#include <gtest/gtest.h>

namespace {

TEST(OsTest, EachVersionIsCoveredByItsOwnBitOnly) {
  struct Case {
    int osIndex;
    uint32_t bit;
  };
  const Case cases[] = {
      {1, kOsBelowXp},     {2, kOsBelowXp},     {6, kOsBelowXp},     {7, kOsXp},
      {8, kOsServer2003},  {9, kOsServer2003},  {10, kOsServer2003}, {11, kOsVista},
      {12, kOsServer2008}, {13, kOsServer2008}, {14, kOsWindows7},   {15, kOsServer2012},
      {16, kOsWindows8},   {17, kOsServer2012}, {18, kOsWindows81},  {19, kOsLater},
      {25, kOsLater},
  };
  const uint32_t allVersions = 0x7FE;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(OsVersionBit(c.osIndex), c.bit) << "case " << i;
    EXPECT_TRUE(OsTest(c.bit | kOs32Bit, c.osIndex, 0)) << "case " << i;
    EXPECT_TRUE(OsTest(c.bit | kOs64Bit, c.osIndex, 1)) << "case " << i;
    // Every other version bit, with both bitnesses, does not let it pass.
    EXPECT_FALSE(OsTest((allVersions & ~c.bit) | kOs32Bit | kOs64Bit, c.osIndex, 0)) << "case " << i;
  }
}

TEST(OsTest, BitnessMustMatchTheRunningSystem) {
  struct Case {
    uint32_t flags;
    int is64;
    bool allowed;
  };
  const uint32_t win7 = kOsWindows7;
  const Case cases[] = {
      {win7 | kOs32Bit, 0, true},   {win7 | kOs32Bit, 1, false},
      {win7 | kOs64Bit, 1, true},   {win7 | kOs64Bit, 0, false},
      {win7, 0, false},             {win7, 1, false},  // neither bitness: refuses every machine
      {kOs32Bit | kOs64Bit, 0, false},                 // no version bit
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(OsTest(cases[i].flags, 14, cases[i].is64), cases[i].allowed) << "case " << i;
  }
}

}  // namespace
