#include "runtime/payload_loader.h"

#include <gtest/gtest.h>

#include <string>

#include "core/cipher_keys.h"
#include "core/key_arr.h"
#include "platform/fake/fake_platform.h"
#include "runtime/payload_test_support.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kConfig = "s.c.Width=600\r\ns.c.Title=Gr\xC3\xBC\xC3\x9F" "e\r\n";

std::string PayloadWith(const std::string& name, const std::string& content,
                        const std::string& password = cc::PayloadPassword()) {
  return payload_test::MakeArchive({{"unins.exe", "MZ uninstaller"}, {name, content}}, password);
}

TEST(PayloadLoaderTest, StartUpLoadsTheConfigurationFromTheResource) {
  struct Case {
    const char* what;
    bool hasResource;
    std::string resource;
    bool returns;
    uint32_t status;
    bool opened;  // the archive opened
    bool parsed;  // "s.c.Width" is 600 and the title decoded from UTF-8
  };
  const Case cases[] = {
      {"configuration in capitals", true, PayloadWith("PJCFG.INI", kConfig), true, kPayloadOk,
       true, true},
      {"configuration with a byte-order mark", true, PayloadWith("pjcfg.ini", kBom + kConfig),
       true, kPayloadOk, true, true},
      {"no configuration entry", true, PayloadWith("other.ini", kConfig), true, kPayloadNotFound,
       true, false},
      {"enciphered with another password", true, PayloadWith("pjcfg.ini", kConfig, "other"), true,
       kPayloadWrongPassword, true, false},
      {"resource is not an archive", true, kConfig, true, kPayloadCorrupt, false, false},
      {"empty resource", true, "", true, kPayloadBadArguments, false, false},
      {"no resource", false, "", false, kPayloadNotFound, false, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << c.what);
    FakePlatform platform;
    if (c.hasResource) platform.fake_resources.Put(cc::Str(u"BIN"), 2, c.resource);
    cc::KeyArr config(false, true);
    LoadedPayload payload;
    uint32_t status = 1;
    EXPECT_EQ(LoadPayloadAtStartup(platform, config, &payload, &status), c.returns);
    EXPECT_EQ(status, c.status);
    if (c.parsed) {
      EXPECT_EQ(config.GetInt(cc::Str(u"S.C.WIDTH"), 0), 600);
      EXPECT_TRUE(config.Get(cc::Str(u"s.c.Title")) == cc::Str(u"Gr\u00FC\u00DFe"));
      EXPECT_EQ(config.Count(), 2);
    } else {
      EXPECT_EQ(config.Count(), 0);
    }
    // An archive that opened is the process-wide payload until it closes.
    EXPECT_EQ(CurrentPayload(), payload.archive());
    EXPECT_EQ(payload.archive() != nullptr, c.opened);
    payload.Close();
    EXPECT_EQ(CurrentPayload(), nullptr);
  }
}

TEST(PayloadLoaderTest, DestroyingTheOwnerUnregistersTheArchive) {
  FakePlatform platform;
  platform.fake_resources.Put(cc::Str(u"BIN"), 2, PayloadWith("pjcfg.ini", kConfig));
  cc::KeyArr config(false, true);
  {
    LoadedPayload payload;
    ASSERT_TRUE(LoadPayloadAtStartup(platform, config, &payload));
    ASSERT_NE(CurrentPayload(), nullptr);
  }
  EXPECT_EQ(CurrentPayload(), nullptr);
}

TEST(PayloadLoaderTest, ReadsPayloadFilesFromTheArchive) {
  std::string archiveBytes = payload_test::MakeArchive(
      {{"user.dll", "MZ extension"}, {"empty.txt", ""}}, cc::PayloadPassword());
  auto archive = OpenPayload(archiveBytes.data(), archiveBytes.size(),
                             cc::PayloadPassword().c_str());
  ASSERT_NE(archive, nullptr);
  FakePlatform platform;
  // A file of the same name on disk is not read while the payload has it.
  platform.fake_files.PutFile(cc::Str(u"C:\\setup\\user.dll"), "disk copy");
  platform.fake_files.PutFolder(cc::Str(u"C:\\setup\\Lang"));

  std::string bytes = "stale";
  EXPECT_TRUE(LoadPayloadFile(archive.get(), platform, nullptr, cc::Str(u"USER.DLL"), &bytes));
  EXPECT_EQ(bytes, "MZ extension");
  EXPECT_TRUE(LoadPayloadFile(archive.get(), platform, nullptr, cc::Str(u"empty.txt"), &bytes));
  EXPECT_EQ(bytes, "");

  // The overload without an archive reads the process-wide payload.
  {
    ScopedCurrentPayload current(archive.get());
    EXPECT_TRUE(LoadPayloadFile(platform, nullptr, cc::Str(u"user.dll"), &bytes));
    EXPECT_EQ(bytes, "MZ extension");
  }
  EXPECT_EQ(CurrentPayload(), nullptr);
  EXPECT_TRUE(LoadPayloadFile(platform, nullptr, cc::Str(u"user.dll"), &bytes));
  EXPECT_EQ(bytes, "disk copy");

  // An entry that cannot be read is a failure, not a reason to read the disk.
  std::string wrongBytes = payload_test::MakeArchive({{"user.dll", "MZ extension"}}, "other");
  auto wrong = OpenPayload(wrongBytes.data(), wrongBytes.size(), cc::PayloadPassword().c_str());
  ASSERT_NE(wrong, nullptr);
  bytes = "stale";
  EXPECT_FALSE(LoadPayloadFile(wrong.get(), platform, nullptr, cc::Str(u"user.dll"), &bytes));
  EXPECT_EQ(bytes, "");
}

TEST(PayloadLoaderTest, FallsBackToTheDisk) {
  struct Case {
    const char* what;
    const char16_t* editLocBase;  // null: not configured
    const char16_t* name;
    std::vector<const char16_t*> folders;  // made besides the program's own
    std::vector<const char16_t*> files;    // each holds its own path as text
    const char16_t* expectedPath;          // null: nothing can be read
  };
  // The program is C:\proj\bin\setup.exe; the current folder is C:\.
  const Case cases[] = {
      {"source folder without a trailing backslash", u"D:\\proj", u"user.dll", {},
       {u"D:\\proj\\user.dll", u"C:\\proj\\bin\\user.dll"}, u"D:\\proj\\user.dll"},
      {"source folder with a trailing backslash", u"D:\\proj\\", u"Lang\\en.txt", {},
       {u"D:\\proj\\Lang\\en.txt"}, u"D:\\proj\\Lang\\en.txt"},
      {"not in the source folder: program folder with Lang", u"D:\\proj", u"user.dll",
       {u"C:\\proj\\bin\\Lang"}, {u"C:\\proj\\bin\\user.dll", u"C:\\proj\\user.dll"},
       u"C:\\proj\\bin\\user.dll"},
      {"program folder with Theme", nullptr, u"user.dll", {u"C:\\proj\\bin\\Theme"},
       {u"C:\\proj\\bin\\user.dll", u"C:\\proj\\user.dll"}, u"C:\\proj\\bin\\user.dll"},
      {"program folder with neither: one folder up", nullptr, u"user.dll", {},
       {u"C:\\proj\\bin\\user.dll", u"C:\\proj\\user.dll"}, u"C:\\proj\\user.dll"},
      {"empty source folder", u"", u"user.dll", {u"C:\\proj\\bin\\Lang"},
       {u"C:\\proj\\bin\\user.dll"}, u"C:\\proj\\bin\\user.dll"},
      {"no source folder: a relative name is looked for in the current folder first", nullptr,
       u"user.dll", {u"C:\\proj\\bin\\Lang"}, {u"C:\\user.dll", u"C:\\proj\\bin\\user.dll"},
       u"C:\\user.dll"},
      {"absolute name ignores the source folder", u"D:\\proj", u"E:\\x\\user.dll", {},
       {u"E:\\x\\user.dll", u"D:\\proj\\x\\user.dll"}, u"E:\\x\\user.dll"},
      {"absolute name is not resolved against the program", nullptr, u"\\x\\user.dll",
       {u"C:\\proj\\bin\\Lang"}, {u"C:\\proj\\bin\\x\\user.dll"}, nullptr},
      {"missing everywhere", u"D:\\proj", u"user.dll", {u"C:\\proj\\bin\\Lang"}, {}, nullptr},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << c.what);
    FakePlatform platform;
    platform.fake_system.SetModuleFileName(cc::Str(u"C:\\proj\\bin\\setup.exe"));
    platform.fake_files.AddVolume(cc::Str(u"D:"));
    platform.fake_files.AddVolume(cc::Str(u"E:"));
    for (const char16_t* folder : c.folders) platform.fake_files.PutFolder(cc::Str(folder));
    for (const char16_t* file : c.files) {
      platform.fake_files.PutFile(cc::Str(file), cc::Str(file).ToUtf8());
    }
    cc::KeyArr config(false, true);
    if (c.editLocBase != nullptr) {
      config.Set(cc::Str(u"s.i.Comp.editLocBase"), cc::Str(c.editLocBase));
    }
    std::string bytes = "stale";
    bool loaded = LoadPayloadFile(nullptr, platform, &config, cc::Str(c.name), &bytes);
    EXPECT_EQ(loaded, c.expectedPath != nullptr);
    EXPECT_EQ(bytes, c.expectedPath != nullptr ? cc::Str(c.expectedPath).ToUtf8() : "");
  }
}

}  // namespace
