#include "install/ini_items.h"

#include <gtest/gtest.h>

#include <string>

#include "install/install_test_support.h"
#include "platform/os_version.h"

namespace {

using install_test::InstallWorld;
using install_test::kAllSystems;

constexpr uint32_t kKeep = kIniItemKeepExisting;
constexpr uint32_t kRecord = kIniItemRecord;
constexpr uint32_t kCreate = kIniItemCreateFile;

void IniItem(InstallWorld& world, int n, uint32_t flags, const char16_t* folder, const char16_t* file,
             const char16_t* section, const char16_t* entries) {
  world.store.Set(cc::Str::Formatted(u"s.i.Ini.%d.Item", n),
                  cc::Str::Formatted(u"0;\t%u;\t%s;\t%s;\t%s;\t%s", flags, folder, file, section, entries));
  world.store.SetInt(u"s.i.Ini.Count", n + 1);
}

void Prepare(InstallWorld& world) {
  world.session.os_index = GetOsVersion(world.platform, &world.session.is64);
}

// One item per case against a fresh world: the file before (null: missing),
// the file after (null: still missing) and the record lines.
TEST(IniItemsTest, WritesKeepsCreatesAndRecords) {
  struct Case {
    uint32_t flags;
    const char16_t* folder;
    const char* before;
    const char16_t* entries;
    const char* after;
    const char* record;
  };
  const char16_t* kDir = u"C:\\Data";
  const Case cases[] = {
      // Entries in the order of their names; recorded in that order.
      {kAllSystems | kRecord, kDir, "[S]\r\nk=old\r\n", u"k=new\nb=1",
       "[S]\r\nk=new\r\nb=1\r\n",
       "IniFile?=C:\\Data\\app.ini\r\nIniApp?=S\r\nIni?=b\r\n"
       "IniFile?=C:\\Data\\app.ini\r\nIniApp?=S\r\nIni?=k\r\n"},
      // Present keys keep their values, even an empty one, and are not recorded.
      {kAllSystems | kRecord | kKeep, kDir, "[S]\r\nk=old\r\nempty=\r\n", u"k=new\nempty=x\nn=1",
       "[S]\r\nk=old\r\nempty=\r\nn=1\r\n", "IniFile?=C:\\Data\\app.ini\r\nIniApp?=S\r\nIni?=n\r\n"},
      // Without the record bit nothing is recorded.
      {kAllSystems, kDir, "[S]\r\n", u"k=v", "[S]\r\nk=v\r\n", ""},
      // A missing file is left missing without the create bit.
      {kAllSystems | kRecord, kDir, nullptr, u"k=v", nullptr, ""},
      // With it, the folder and the file are made, and nothing is recorded.
      {kAllSystems | kRecord | kCreate, u"C:\\Data\\new\\deeper", nullptr, u"k=v", "[S]\r\nk=v\r\n", ""},
      // Not this system (no bitness bit).
      {0x7FE | kRecord | kCreate, kDir, "[S]\r\n", u"k=v", "[S]\r\n", ""},
      // A folder macro and the rest of the path after it.
      {kAllSystems | kCreate, u"<Application Folder>\\conf", nullptr, u"k=v", "[S]\r\nk=v\r\n", ""},
      // A macro that names no folder: skipped rather than written to the root.
      {kAllSystems | kCreate, u"<NoSuchFolder>", nullptr, u"k=v", nullptr, ""},
      {kAllSystems | kCreate, u"", nullptr, u"k=v", nullptr, ""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    InstallWorld world;
    Prepare(world);
    const Case& c = cases[i];
    cc::Str folder = c.folder;
    if (folder.StartsWith(u"<Application Folder>")) folder = cc::Str(install_test::kAppFolder) + u"conf";
    const cc::Str path = folder + cc::Str(u"\\app.ini");
    if (c.before) world.platform.fake_files.PutFile(path, c.before);
    IniItem(world, 0, c.flags, c.folder, u"app.ini", u"S", c.entries);
    WriteIniItems(world.session);

    std::string bytes;
    const bool exists = world.platform.fake_files.GetFileBytes(path, &bytes);
    EXPECT_EQ(exists, c.after != nullptr) << "case " << i;
    if (c.after && exists) EXPECT_EQ(bytes, c.after) << "case " << i;
    EXPECT_EQ(world.session.record.Utf8(), c.record) << "case " << i;
  }
}

// The profile functions as the probe meets them: a key whose stored value
// is exactly the probe's default reads back like a missing key (6 units
// equal to the default) and is overwritten; a longer value that merely
// starts with it comes back cut to 9 units and counts as present.
class RawValueProfile : public Profile {
 public:
  RawValueProfile(Profile& inner, const cc::Str& raw) : inner_(inner), raw_(raw) {}
  int GetString(const cc::Str& s, const cc::Str& k, const cc::Str& d, int size, const cc::Str& p,
                cc::Str* value) override {
    if (k != cc::Str(u"odd")) return inner_.GetString(s, k, d, size, p, value);
    *value = raw_.Substring(0, size - 1);
    return value->GetLength();
  }
  bool WriteString(const cc::Str& s, const cc::Str& k, const cc::Str& v, const cc::Str& p) override {
    written_.push_back(k);
    return inner_.WriteString(s, k, v, p);
  }
  std::vector<cc::Str> written_;

 private:
  Profile& inner_;
  cc::Str raw_;
};

TEST(IniItemsTest, KeepExistingProbeTellsMissingFromPresent) {
  struct Case {
    const char16_t* stored;
    bool overwritten;
  };
  const Case cases[] = {
      {u"[\r\n\r\n]", true},
      {u"[\r\n\r\n]tail", false},
      {u"[\r\n\r\n", false},
      {u"", false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    InstallWorld world;
    Prepare(world);
    RawValueProfile profile(world.platform.fake_profile, cases[i].stored);
    world.platform.profile = &profile;
    world.platform.fake_files.PutFile(u"C:\\odd.ini", "[S]\r\n");
    IniItem(world, 0, kAllSystems | kKeep | kRecord, u"C:\\", u"odd.ini", u"S", u"odd=ours");
    WriteIniItems(world.session);
    EXPECT_EQ(profile.written_.size(), cases[i].overwritten ? 1u : 0u) << "case " << i;
    EXPECT_EQ(!world.session.record.Utf8().empty(), cases[i].overwritten) << "case " << i;
  }
}

}  // namespace
