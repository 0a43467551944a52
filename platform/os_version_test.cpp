#include "platform/os_version.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"

namespace {

struct VersionCase {
  FakeWindows windows;
  bool is64;
  bool declared;
  int index;
  int bitness;
};

// Every Windows the fake can be, as 32- and 64-bit editions, with and
// without the program declaring support for 8.1 and later.
const VersionCase kVersionCases[] = {
    {FakeWindows::k95, false, false, kOsWindows95, 0},
    {FakeWindows::k98, false, false, kOsWindows98, 0},
    {FakeWindows::kMe, false, false, kOsWindowsME, 0},
    {FakeWindows::kNt4, false, false, kOsWindowsNT4, 0},
    {FakeWindows::k2000, false, false, kOsWindows2000, 0},
    {FakeWindows::kXp, false, false, kOsWindowsXP, 0},
    // 64-bit XP and Server 2003 report 5.2 and still count as 32-bit.
    {FakeWindows::kXp, true, false, kOsWindowsXP, 0},
    {FakeWindows::kServer2003, false, false, kOsWindowsServer2003, 0},
    {FakeWindows::kServer2003, true, false, kOsWindowsServer2003, 0},
    {FakeWindows::kServer2003R2, false, false, kOsWindowsServer2003R2, 0},
    {FakeWindows::kServer2003R2, true, false, kOsWindowsServer2003R2, 0},
    {FakeWindows::kHomeServer, false, false, kOsWindowsHomeServer, 0},
    {FakeWindows::kVista, false, false, kOsWindowsVista, 0},
    {FakeWindows::kVista, true, false, kOsWindowsVista, 1},
    {FakeWindows::kServer2008, false, false, kOsWindowsServer2008, 0},
    {FakeWindows::kServer2008, true, false, kOsWindowsServer2008, 1},
    {FakeWindows::k7, false, false, kOsWindows7, 0},
    {FakeWindows::k7, true, false, kOsWindows7, 1},
    {FakeWindows::kServer2008R2, true, false, kOsWindowsServer2008R2, 1},
    {FakeWindows::k8, false, false, kOsWindows8, 0},
    {FakeWindows::k8, true, false, kOsWindows8, 1},
    {FakeWindows::kServer2012, true, false, kOsWindowsServer2012, 1},
    // 8.1 reports 6.2 unless declared; the exact-version check still finds it.
    {FakeWindows::k8_1, false, false, kOsWindows8_1, 0},
    {FakeWindows::k8_1, true, false, kOsWindows8_1, 1},
    {FakeWindows::k8_1, true, true, kOsWindows8_1, 1},
    {FakeWindows::kServer2012R2, true, false, kOsWindowsServer2012R2, 1},
    {FakeWindows::kServer2012R2, true, true, kOsWindowsServer2012R2, 1},
    {FakeWindows::k10, false, false, kOsWindowsNext, 0},
    {FakeWindows::k10, true, false, kOsWindowsNext, 1},
    {FakeWindows::k10, true, true, kOsWindowsNext, 1},
    {FakeWindows::k11, true, false, kOsWindowsNext, 1},
    {FakeWindows::k11, true, true, kOsWindowsNext, 1},
};

TEST(OsVersionTest, IndexAndBitnessOfEveryWindows) {
  for (size_t i = 0; i < std::size(kVersionCases); ++i) {
    const VersionCase& c = kVersionCases[i];
    FakePlatform platform;
    platform.SetOs(MakeFakeOs(c.windows, c.is64, c.declared));
    int is64 = -1;
    EXPECT_EQ(GetOsVersion(platform, &is64), c.index) << "case " << i;
    EXPECT_EQ(is64, c.bitness) << "case " << i;
  }
}

TEST(OsVersionTest, SixPointTwoThatIsNotConfirmedIsNewerWindows) {
  // A system that reports 6.2 but confirms neither 6.2 nor 6.3 is newer
  // than anything the table names.
  FakePlatform platform;
  FakeOs os = MakeFakeOs(FakeWindows::k8, true);
  os.true_minor = 4;
  platform.SetOs(os);
  EXPECT_EQ(GetOsVersion(platform), kOsWindowsNext);
}

TEST(OsVersionTest, OtherSixtyFourBitArchitecturesCount) {
  const uint16_t kArchitectures[] = {kArchitectureArm64, kArchitectureIa64};
  for (uint16_t architecture : kArchitectures) {
    FakePlatform platform;
    FakeOs os = MakeFakeOs(FakeWindows::k10, true);
    os.processor.architecture = architecture;
    platform.SetOs(os);
    int is64 = -1;
    GetOsVersion(platform, &is64);
    EXPECT_EQ(is64, 1) << "architecture " << architecture;
  }
}

TEST(OsVersionTest, AnsweredOnceThenFromMemory) {
  FakePlatform platform;
  platform.SetOs(MakeFakeOs(FakeWindows::k7, true));
  EXPECT_EQ(GetOsVersion(platform), kOsWindows7);
  // A change behind the platform's back is not seen: the answer is kept.
  platform.fake_system.SetOs(MakeFakeOs(FakeWindows::kXp));
  int is64 = -1;
  EXPECT_EQ(GetOsVersion(platform, &is64), kOsWindows7);
  EXPECT_EQ(is64, 1);
  // SetOs on the platform forgets it.
  platform.SetOs(MakeFakeOs(FakeWindows::kXp));
  EXPECT_EQ(GetOsVersion(platform, &is64), kOsWindowsXP);
  EXPECT_EQ(is64, 0);
}

TEST(OsVersionTest, NoVersionRecordIsUnknown) {
  FakePlatform platform;
  platform.fake_system.SetNoVersionRecord(true);
  int is64 = -1;
  EXPECT_EQ(GetOsVersion(platform, &is64), kOsUnknown);
  EXPECT_EQ(is64, 0);
  EXPECT_FALSE(IsNtFamily(platform.fake_system));
}

TEST(OsVersionTest, Names) {
  struct NameCase {
    int index;
    int is64;
    const char16_t* name;
  };
  const NameCase kCases[] = {
      {kOsWindows7, 1, u"Windows7(64bit)"},
      {kOsWindowsXP, 0, u"WindowsXP(32bit)"},
      {kOsWindows8_1, -1, u"Windows8_1"},
      {kOsWindowsNT3, 0, u"WindowsNT3(32bit)"},
      {kOsWindowsNext, 1, u"WindowsNext(64bit)"},
      {kOsWindowsServer2003R2, 2, u"WindowsServer2003R2"},
      {0, 0, u"Unknow(32bit)"},
      {20, 1, u"Unknow(64bit)"},
      {-3, -1, u"Unknow"},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    EXPECT_EQ(GetOsName(kCases[i].index, kCases[i].is64).ToUtf8(),
              cc::Str(kCases[i].name).ToUtf8())
        << "case " << i;
  }
}

TEST(OsVersionTest, NtFamily) {
  const std::pair<FakeWindows, bool> kCases[] = {
      {FakeWindows::k95, false}, {FakeWindows::kMe, false}, {FakeWindows::kNt4, true},
      {FakeWindows::kXp, true},  {FakeWindows::k11, true},
  };
  for (size_t i = 0; i < std::size(kCases); ++i) {
    FakePlatform platform;
    platform.SetOs(MakeFakeOs(kCases[i].first));
    EXPECT_EQ(IsNtFamily(platform.fake_system), kCases[i].second) << "case " << i;
  }
}

}  // namespace
