#include "install/handler_step.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/install_driver.h"
#include "install/install_test_support.h"
#include "platform/os_version.h"

namespace {

using install_test::InstallWorld;
using install_test::kAllSystems;

const char16_t kProgram[] = u"C:\\Program Files\\Demo\\viewer.exe";

void Short(InstallWorld& world, int n, const char16_t* file, uint32_t flags, uint32_t os = kAllSystems) {
  cc::KeyArr& s = world.store;
  s.Set(cc::Str::Formatted(u"s.i.Short.%d.File", n), file);
  s.SetInt(cc::Str::Formatted(u"s.i.Short.%d.Flag", n), static_cast<int>(flags));
  s.Set(cc::Str::Formatted(u"s.i.Short.%d.OS", n), cc::Str::Formatted(u"%u", os));
  s.Set(cc::Str::Formatted(u"en-US.s.i.Short.%d.Name", n), cc::Str::Formatted(u"Item %d", n));
  s.Set(cc::Str::Formatted(u"en-US.s.i.Short.%d.AsDesc", n), u"Demo document");
  s.SetInt(u"s.i.Short.Count", n + 1);
}

// Extensions offered for item n; a leading "-" marks one the user unchecked.
void Extensions(InstallWorld& world, int n, std::vector<std::u16string> extensions) {
  world.store.SetInt(cc::Str::Formatted(u"Ret.Shortcut.Ext%d.Count", n), static_cast<int>(extensions.size()));
  for (size_t k = 0; k < extensions.size(); ++k) {
    const bool unchecked = extensions[k][0] == u'-';
    const int ki = static_cast<int>(k);
    world.store.Set(cc::Str::Formatted(u"Ret.Shortcut.Ext%d.%d", n, ki),
                    cc::Str(unchecked ? extensions[k].substr(1) : extensions[k]));
    if (unchecked) world.store.SetBool(cc::Str::Formatted(u"Ret.Shortcut.chkExt%d.%d", n, ki), false);
  }
}

void Service(InstallWorld& world, int n, const char16_t* name) {
  world.store.Set(cc::Str::Formatted(u"s.i.Short.%d.SeName", n), name);
  world.store.Set(cc::Str::Formatted(u"en-US.s.i.Short.%d.SeDesc", n), u"Demo service");
  world.store.SetInt(cc::Str::Formatted(u"s.i.Short.%d.SeType", n), 2);
  world.store.SetBool(cc::Str::Formatted(u"s.i.Short.%d.SeAStart", n), true);
}

std::string Joined(const std::vector<cc::Str>& lines) {
  std::string text;
  for (const cc::Str& line : lines) text += line.ToUtf8() + "|";
  return text;
}

class SecondPassTest : public ::testing::Test {
 protected:
  SecondPassTest() {
    world.session.os_index = GetOsVersion(world.platform, &world.session.is64);
    world.session.app_name = u"Demo App";
    world.platform.fake_files.PutFile(kProgram, "MZ");
  }
  InstallWorld world;
};

TEST_F(SecondPassTest, AssociatesCheckedExtensionsAndCreatesWantedServices) {
  // 0: two of three extensions checked, and a service always made.
  Short(world, 0, u"<Application Folder>\\viewer.exe", kShortServiceAlways);
  Extensions(world, 0, {u".dma", u"-.dmb", u".dmc"});
  Service(world, 0, u"DemoSvc");
  // 1: the program is missing: nothing at all.
  Short(world, 1, u"<Application Folder>\\missing.exe", kShortServiceAlways);
  Extensions(world, 1, {u".dmx"});
  Service(world, 1, u"MissingSvc");
  // 2: a web address stands for itself.
  Short(world, 2, u"https://example.org/open", 0);
  Extensions(world, 2, {u".dmw"});
  // 3: the service was offered and declined; every extension unchecked.
  Short(world, 3, u"<Application Folder>\\viewer.exe", kShortServiceOffered);
  Extensions(world, 3, {u"-.dmy"});
  Service(world, 3, u"DeclinedSvc");
  world.store.SetBool(u"Ret.Shortcut.chkService3", false);
  // 4: not this system.
  Short(world, 4, u"<Application Folder>\\viewer.exe", kShortServiceAlways, 0x40);
  Extensions(world, 4, {u".dmz"});
  Service(world, 4, u"OtherSvc");
  // 5: offered, accepted by default; no name: no service, no record.
  Short(world, 5, u"<Application Folder>\\viewer.exe", kShortServiceOffered);

  CreateAssociationsAndServices(world.session);

  const std::string program = "C:\\Program Files\\Demo\\viewer.exe";
  EXPECT_EQ(world.session.record.Utf8(),
            "Assoc?=.dma\r\nAssoc?=.dmc\r\n"
            "Service?=DemoSvc\r\nServiceFile?=" + program + "\r\n"
            "Assoc?=.dmw\r\n");
  EXPECT_EQ(Joined(world.platform.fake_progress.Lines()),
            "Demo document[" + program + "]:\r\n    .dma; |.dmc; |\r\n|"
            "Create Service:DemoSvc\r\n|"
            "Demo document[https://example.org/open]:\r\n    .dmw; |\r\n|");

  RegValue value;
  ASSERT_TRUE(world.platform.fake_registry.GetValue(RegRoot::kClassesRoot, u".dma", u"", &value));
  EXPECT_EQ(RegDataAsText(value.data), cc::Str(u"Demo App.dma"));
  ASSERT_TRUE(world.platform.fake_registry.GetValue(RegRoot::kClassesRoot, u"Demo App.dmw\\shell\\open\\command",
                                                    u"", &value));
  EXPECT_EQ(RegDataAsText(value.data), cc::Str(u"\"https://example.org/open\" \"%1\""));
  for (const char16_t* absent : {u".dmb", u".dmx", u".dmy", u".dmz"}) {
    EXPECT_FALSE(world.platform.fake_registry.HasKey(RegRoot::kClassesRoot, absent)) << cc::Str(absent).ToUtf8();
  }
  EXPECT_EQ(world.platform.fake_services.Count(), 1);
  const FakeServiceManager::Entry* service = world.platform.fake_services.Find(u"DemoSvc");
  ASSERT_NE(service, nullptr);
  EXPECT_EQ(service->state, kServiceRunning);
  EXPECT_EQ(service->spec.start, ServiceStart::kDemand);
  EXPECT_EQ(service->description, cc::Str(u"Demo service"));
}

// A failed association and a failed service are recorded all the same, so
// that the uninstall removes whatever part was made.
TEST_F(SecondPassTest, FailuresAreRecordedAllTheSame) {
  Short(world, 0, u"<Application Folder>\\viewer.exe", kShortServiceAlways);
  Extensions(world, 0, {u"bad"});
  Service(world, 0, u"DemoSvc");
  world.platform.fake_services.SetRefuseConnect(true);
  CreateAssociationsAndServices(world.session);
  EXPECT_EQ(world.session.record.Utf8(),
            "Assoc?=bad\r\nService?=DemoSvc\r\nServiceFile?=C:\\Program Files\\Demo\\viewer.exe\r\n");
  EXPECT_FALSE(world.platform.fake_registry.HasKey(RegRoot::kClassesRoot, u"bad"));
}

// In a whole run the lines of these steps sit between the files and the
// uninstaller, in the order of the steps: associations and services, then
// registry values, then INI entries.
TEST(LaterStepsOrderTest, RecordHoldsTheLinesInTheOrderOfTheSteps) {
  InstallWorld world;
  world.Item(1, 0, 2, u"Main");
  world.Check(1);
  world.Item(2, 1, 3, u"<Application Folder>");
  world.Item(3, 2, 5, u"3*viewer.exe");
  world.Payload({{"pjcfg.ini", "[s]"}, {"unins.exe", "MZ"}, {"3*viewer.exe", "MZ viewer"}});
  world.store.Set(u"Ret.Menu.Skip", u"1");
  world.platform.fake_files.PutFile(u"C:\\Program Files\\Demo\\settings.ini", "[Main]\r\n");
  world.store.Set(u"s.i.Ini.0.Item", u"0;\t46139390;\t<Application Folder>;\tsettings.ini;\tMain;\tcolour=blue");
  world.store.Set(u"s.i.Ini.Count", u"1");
  world.store.Set(u"s.i.Reg.0.Item", u"1;\t62916606;\tSoftware\\Demo;\tpath=<x>\nsize=dword:3");
  world.store.Set(u"s.i.Reg.Count", u"1");
  Short(world, 0, u"<Application Folder>\\viewer.exe", kShortServiceAlways);
  Extensions(world, 0, {u".dma"});
  Service(world, 0, u"DemoSvc");

  ASSERT_TRUE(RunInstall(world.session, kInstallPhase)) << world.store.Get(u"Ret.ErrorInfo").ToUtf8();
  const std::string app = "C:\\Program Files\\Demo\\";
  const std::string& record = world.session.record.Utf8();
  const std::string later =
      "File?=" + app + "viewer.exe\r\nFileOver?=0\r\nFileUnins?=0\r\n"
      "Assoc?=.dma\r\nService?=DemoSvc\r\nServiceFile?=" + app + "viewer.exe\r\n"
      "RegRoot?=1\r\nRegDir?=Software\\Demo\r\nReg?=path\r\n"
      "RegRoot?=1\r\nRegDir?=Software\\Demo\r\nReg?=size\r\n"
      "IniFile?=" + app + "settings.ini\r\nIniApp?=Main\r\nIni?=colour\r\n"
      "Unins?=" + app + "unins.exe\r\n";
  EXPECT_NE(record.find(later), std::string::npos) << record;
  const std::vector<cc::Str>& statuses = world.platform.fake_progress.Statuses();
  std::string order;
  for (const cc::Str& s : statuses) order += s.ToUtf8() + "|";
  EXPECT_NE(order.find("Item 0|treate registry...|treate ini file...|write unins.exe.|"), std::string::npos) << order;
  cc::KeyArr read = world.Record();
  EXPECT_EQ(read.Get(u"Log.Reg.Count"), cc::Str(u"2"));
  EXPECT_EQ(read.Get(u"Log.RegDir1"), cc::Str(u"Software\\Demo"));
  EXPECT_EQ(read.Get(u"Log.ServiceFile0"), cc::Str(kProgram));
}

}  // namespace
