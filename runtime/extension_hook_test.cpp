#include "runtime/extension_hook.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/cipher_keys.h"
#include "core/key_arr.h"
#include "platform/fake/fake_platform.h"
#include "platform/file_helpers.h"
#include "platform/system_helpers.h"
#include "runtime/payload_loader.h"
#include "runtime/payload_test_support.h"
#include "runtime/setup_log.h"

namespace {

const char16_t kProjectFolder[] = u"C:\\project\\";
const char16_t kDiskLibrary[] = u"C:\\project\\user.dll";
const std::string kImage = "MZ extension with entry";
const std::string kImageWithoutEntry = "MZ extension without entry";

// What the fake library's entry point received.
struct Call {
  int page;
  int event;
  ExtensionInfo info;
};
std::vector<Call> g_calls;
// What the entry point does besides recording; returns its result.
std::function<int(int page, int event, ExtensionInfo* info, ExtensionCallback callback)> g_script;

int VELMORA_EXTENSION_CALL FakeEntry(int page, int event, ExtensionInfo* info, ExtensionCallback callback) {
  g_calls.push_back({page, event, *info});
  return g_script ? g_script(page, event, info, callback) : 0;
}

int NotExported(int, int, ExtensionInfo*, ExtensionCallback) { return 0; }

class FakeHost : public ExtensionHost {
 public:
  uintptr_t MainWindow() override { return main; }
  uintptr_t PageWindow() override { return page; }
  uintptr_t PageHostWindow() override { return page_host; }
  uintptr_t FindControl(const cc::Str& name) override {
    auto it = controls.find(std::u16string(name.GetBuffer()));
    return it == controls.end() ? 0 : it->second;
  }
  bool SetControlText(uintptr_t handle, const cc::Str& text) override {
    for (const auto& [name, h] : controls) {
      if (h == handle && handle != 0) {
        texts[handle] = text;
        return true;
      }
    }
    return false;
  }

  uintptr_t main = 0x100;
  uintptr_t page = 0x200;
  uintptr_t page_host = 0x300;
  std::map<std::u16string, uintptr_t> controls = {
      {u"labBTitle", 0x11}, {u"labSTitle", 0x12}, {u"btnBack", 0x13}, {u"btnNext", 0x14},
      {u"btnCancel", 0x15}, {u"linkMain", 0x16}, {u"copyMain", 0x17}, {u"chkExtra", 0x18}};
  std::map<uintptr_t, cc::Str> texts;
};

std::u16string Text(const ExtensionInfo& info) {
  std::u16string text;
  for (int i = 0; i < VELMORA_EXTENSION_TEXT_UNITS && info.text[i] != 0; ++i) {
    text.push_back(static_cast<char16_t>(info.text[i]));
  }
  return text;
}

std::vector<ExtensionChar> Name(std::u16string_view name) {
  std::vector<ExtensionChar> units(name.begin(), name.end());
  units.push_back(0);
  return units;
}

class ExtensionHookTest : public ::testing::Test {
 protected:
  ExtensionHookTest() {
    g_calls.clear();
    g_script = nullptr;
    platform_.fake_files.PutFolder(cc::Str(kProjectFolder));
    config_.Set(cc::Str(kEditLocBaseKey), cc::Str(kProjectFolder));
    platform_.fake_libraries.AddImage(kImage, {{"CallDllEnter", reinterpret_cast<void*>(&FakeEntry)}});
    platform_.fake_libraries.AddImage(kImageWithoutEntry,
                                      {{"OtherExport", reinterpret_cast<void*>(&NotExported)}});
  }
  ~ExtensionHookTest() override { g_script = nullptr; }

  // Every "~T_" name in the temporary folder.
  std::vector<cc::Str> TempLeftovers() {
    std::vector<FoundFile> entries;
    platform_.fake_files.ListFolder(GetTempFolder(platform_.fake_system), &entries);
    std::vector<cc::Str> left;
    for (const FoundFile& entry : entries) {
      if (entry.name.StartsWith(cc::Str(u"~T_"))) left.push_back(entry.name);
    }
    return left;
  }

  std::u16string LogText() {
    std::string bytes;
    platform_.fake_files.GetFileBytes(cc::Str(u"C:\\setup\\setup.exe.log"), &bytes);
    return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
  }

  // Runs `script` as the library's reaction to one notification.
  int NotifyWith(ExtensionHook& hook, std::function<int(int, int, ExtensionInfo*, ExtensionCallback)> script) {
    g_script = std::move(script);
    int result = hook.Notify(101, kExtensionEventForward);
    g_script = nullptr;
    return result;
  }

  FakePlatform platform_;
  cc::KeyArr config_{false, true};
  LoadedPayload payload_;
  FakeHost host_;
  SetupLog log_;
};

TEST_F(ExtensionHookTest, ALibraryThatCannotBeUsedLeavesNothingBehind) {
  struct Case {
    const char* what;
    bool present;
    std::string bytes;
    bool failWrite;
    const char16_t* logged;  // nullptr: nothing is logged
  };
  const Case cases[] = {
      {"no user.dll", false, "", false, nullptr},
      {"a zero-byte user.dll", true, "", false, u"user.dll is empty"},
      {"not a library", true, "just some text", false, u"not a valid application"},
      {"no entry point", true, kImageWithoutEntry, false, u"no entry point CallDllEnter"},
      {"the temporary folder refuses the file", true, kImage, true, u"cannot write"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << c.what);
    platform_.fake_files.RemoveFile(cc::Str(u"C:\\setup\\setup.exe.log"));
    SetupLog log;
    ASSERT_TRUE(log.OpenBesideProgram(platform_));
    platform_.fake_files.RemoveFile(cc::Str(kDiskLibrary));
    if (c.present) platform_.fake_files.PutFile(cc::Str(kDiskLibrary), c.bytes);
    platform_.fake_libraries.SetFailWrite(c.failWrite);

    ExtensionHook hook(platform_, config_, payload_, host_, log);
    EXPECT_FALSE(hook.Load());
    EXPECT_FALSE(hook.Loaded());
    EXPECT_EQ(hook.Notify(101, kExtensionEventLeaveNext), 0);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_TRUE(TempLeftovers().empty());
    EXPECT_EQ(platform_.fake_libraries.LoadedCount(), 0);
    EXPECT_EQ(platform_.fake_libraries.HeldCount(), 0);
    if (c.logged == nullptr) {
      EXPECT_TRUE(hook.LoadReport().IsEmpty());
      EXPECT_EQ(LogText().find(u"Extension:"), std::u16string::npos);
    } else {
      EXPECT_NE(std::u16string(hook.LoadReport().GetBuffer()).find(c.logged), std::u16string::npos)
          << testing::PrintToString(std::u16string(hook.LoadReport().GetBuffer()));
      EXPECT_NE(LogText().find(c.logged), std::u16string::npos);
    }
  }
}

TEST_F(ExtensionHookTest, LoadsAHeldCopyInAFolderOfItsOwnAndRemovesBothAtUnload) {
  platform_.fake_files.PutFile(cc::Str(kDiskLibrary), kImage);
  ExtensionHook hook(platform_, config_, payload_, host_, log_);
  ASSERT_TRUE(hook.Load());
  EXPECT_TRUE(hook.Loaded());

  cc::Str path = hook.LibraryPath();
  cc::Str temp = GetTempFolder(platform_.fake_system);
  ASSERT_TRUE(path.StartsWith(temp, true));
  // temp + "~T_X.tmp\" + "~T_X.dll": the folder was made for this file.
  cc::Str rest = path.Substring(temp.GetLength());
  EXPECT_TRUE(rest.StartsWith(cc::Str(u"~T_")));
  std::u16string inner(rest.GetBuffer());
  size_t slash = inner.find(u'\\');
  ASSERT_NE(slash, std::u16string::npos);
  EXPECT_EQ(inner.find(u'\\', slash + 1), std::u16string::npos);
  EXPECT_EQ(inner.substr(slash + 1, 3), u"~T_");
  std::string written;
  ASSERT_TRUE(platform_.fake_files.GetFileBytes(path, &written));
  EXPECT_EQ(written, kImage);
  // Loaded while nobody else could change it, after the settling wait.
  ASSERT_EQ(platform_.fake_libraries.LoadCalls().size(), 1u);
  EXPECT_TRUE(platform_.fake_libraries.LoadCalls()[0].path == path);
  EXPECT_TRUE(platform_.fake_libraries.LoadCalls()[0].held);
  EXPECT_EQ(platform_.fake_libraries.HeldCount(), 0);
  EXPECT_EQ(platform_.fake_process.SleptMs(), 50);
  EXPECT_TRUE(hook.Load());  // a second Load keeps the one library
  EXPECT_EQ(platform_.fake_libraries.LoadCalls().size(), 1u);

  hook.Unload();
  EXPECT_FALSE(hook.Loaded());
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].page, -1);
  EXPECT_EQ(g_calls[0].event, kExtensionEventEnd);
  EXPECT_EQ(g_calls[0].info.mainWindow, 0x100u);
  EXPECT_EQ(platform_.fake_libraries.LoadedCount(), 0);
  EXPECT_TRUE(TempLeftovers().empty());
  EXPECT_EQ(hook.Notify(101, kExtensionEventForward), 0);
  hook.Unload();
  EXPECT_EQ(g_calls.size(), 1u);
}

TEST_F(ExtensionHookTest, WithAPayloadOpenTheLibraryComesFromItAlone) {
  // A "user.dll" beside the program or in the project folder is not run
  // when the payload has none.
  platform_.fake_files.PutFile(cc::Str(kDiskLibrary), kImage);
  platform_.fake_files.PutFile(cc::Str(u"C:\\setup\\user.dll"), kImage);
  platform_.fake_resources.Put(cc::Str(u"BIN"), 2,
                               payload_test::MakeArchive({{"pjcfg.ini", "a=1"}}, cc::PayloadPassword()));
  ASSERT_TRUE(LoadPayloadAtStartup(platform_, config_, &payload_));
  config_.Set(cc::Str(kEditLocBaseKey), cc::Str(kProjectFolder));
  ExtensionHook without(platform_, config_, payload_, host_, log_);
  EXPECT_FALSE(without.Load());
  EXPECT_TRUE(without.LoadReport().IsEmpty());

  platform_.fake_resources.Put(
      cc::Str(u"BIN"), 2,
      payload_test::MakeArchive({{"pjcfg.ini", "a=1"}, {"USER.DLL", kImage}}, cc::PayloadPassword()));
  LoadedPayload payload;
  ASSERT_TRUE(LoadPayloadAtStartup(platform_, config_, &payload));
  platform_.fake_files.RemoveFile(cc::Str(kDiskLibrary));
  ExtensionHook with(platform_, config_, payload, host_, log_);
  EXPECT_TRUE(with.Load());
}

TEST_F(ExtensionHookTest, NotifyPassesPageEventHandlesAndTheResult) {
  platform_.fake_files.PutFile(cc::Str(kDiskLibrary), kImage);
  ExtensionHook hook(platform_, config_, payload_, host_, log_);
  ASSERT_TRUE(hook.Load());
  g_script = [](int, int event, ExtensionInfo* info, ExtensionCallback) {
    // Scribbling on the block must not reach the next call.
    info->fileSize = 77;
    info->text[0] = u'x';
    return event == kExtensionEventLeaveNext ? -1 : 5;
  };
  EXPECT_EQ(hook.Notify(103, kExtensionEventLeaveNext), -1);
  EXPECT_EQ(hook.Notify(-1, kExtensionEventClick, 0x18), 5);
  host_.page = host_.page_host = 0;
  host_.controls.erase(u"linkMain");
  EXPECT_EQ(hook.Notify(-1, kExtensionEventCreated), 5);

  ASSERT_EQ(g_calls.size(), 3u);
  const ExtensionInfo& first = g_calls[0].info;
  EXPECT_EQ(g_calls[0].page, 103);
  EXPECT_EQ(g_calls[0].event, kExtensionEventLeaveNext);
  const uintptr_t expected[] = {0x100, 0x11, 0x12, 0x300, 0x13, 0x14, 0x15, 0x16, 0x17, 0x200, 0};
  const uintptr_t got[] = {first.mainWindow, first.titleLabel, first.subtitleLabel, first.pageHost,
                           first.backButton, first.nextButton, first.cancelButton, first.linkMain,
                           first.copyMain, first.pageWindow, first.control};
  for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(got[i], expected[i]) << "field " << i;
  EXPECT_EQ(g_calls[1].info.control, 0x18u);
  EXPECT_EQ(g_calls[1].info.fileSize, 0u);
  EXPECT_EQ(g_calls[1].info.text[0], 0);
  EXPECT_EQ(g_calls[2].info.pageWindow, 0u);
  EXPECT_EQ(g_calls[2].info.pageHost, 0u);
  EXPECT_EQ(g_calls[2].info.linkMain, 0u);
  EXPECT_EQ(g_calls[2].info.control, 0u);
}

TEST_F(ExtensionHookTest, ConfigurationValuesAndLanguageTexts) {
  platform_.fake_files.PutFile(cc::Str(kDiskLibrary), kImage);
  ASSERT_TRUE(log_.OpenBesideProgram(platform_));
  config_.Set(cc::Str(u"s.c.IniLang"), cc::Str(u"de-DE"));
  config_.Set(cc::Str(u"Ext.Plain"), cc::Str(u"plain value"));
  config_.Set(cc::Str(u"Ext.Empty"), cc::Str(u""));
  config_.Set(cc::Str(u"de-DE.s.t.Greeting"), cc::Str(u"Hallo"));
  config_.Set(cc::Str(u"en-US.s.t.Greeting"), cc::Str(u"Hello"));
  config_.Set(cc::Str(u"s.t.Shadowed"), cc::Str(u"plain wins"));
  config_.Set(cc::Str(u"de-DE.s.t.Shadowed"), cc::Str(u"language"));
  config_.Set(cc::Str(u"Ext.1023"), cc::Str(std::u16string(1023, u'a')));
  config_.Set(cc::Str(u"Ext.1024"), cc::Str(std::u16string(1024, u'b')));
  config_.Set(cc::Str(u"Ext.2000"), cc::Str(std::u16string(1999, u'c') + u"Z"));
  ExtensionHook hook(platform_, config_, payload_, host_, log_);
  ASSERT_TRUE(hook.Load());

  struct Case {
    const char16_t* name;
    int result;
    std::u16string text;
    uint32_t length;  // the value's full length + 1
  };
  const Case cases[] = {
      {u"Ext.Plain", 0, u"plain value", 12},
      {u"EXT.PLAIN", 0, u"plain value", 12},
      {u"Ext.Empty", 0, u"", 1},
      {u"s.t.Greeting", 0, u"Hallo", 6},   // full key form
      {u".s.t.Greeting", 0, u"Hallo", 6},  // language-relative form
      {u"s.t.Shadowed", 0, u"plain wins", 11},
      {u"Ext.Missing", -1, u"", 0},
      {u"Ext.1023", 0, std::u16string(1023, u'a'), 1024},
      {u"Ext.1024", 0, std::u16string(1023, u'b'), 1025},
      {u"Ext.2000", 0, std::u16string(1023, u'c'), 2001},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i);
    ExtensionInfo seen{};
    int result = NotifyWith(hook, [&](int, int, ExtensionInfo* info, ExtensionCallback callback) {
      int r = callback(kExtensionOpConfigValue, Name(c.name).data(), 0, info);
      seen = *info;
      return r;
    });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(Text(seen), c.text);
    EXPECT_EQ(seen.textLength, c.length);
    // Nothing past the room of the block: the last unit is the terminator.
    EXPECT_EQ(seen.text[VELMORA_EXTENSION_TEXT_UNITS - 1], 0);
  }
  EXPECT_NE(LogText().find(u"Extension:the value of Ext.2000 has 2000 units, cut to 1023"),
            std::u16string::npos);
}

TEST_F(ExtensionHookTest, CallbackRefusesBadArgumentsAndUnknownOperations) {
  platform_.fake_files.PutFile(cc::Str(kDiskLibrary), kImage);
  config_.Set(cc::Str(u"Ext.Plain"), cc::Str(u"v"));
  ExtensionHook hook(platform_, config_, payload_, host_, log_);
  ASSERT_TRUE(hook.Load());
  struct Case {
    const char* what;
    int op;
    const char16_t* name;  // nullptr: a null name
    bool nullInfo;
    bool noMainWindow;
  };
  const Case cases[] = {
      {"null name", kExtensionOpConfigValue, nullptr, false, false},
      {"empty name", kExtensionOpConfigValue, u"", false, false},
      {"null block", kExtensionOpConfigValue, u"Ext.Plain", true, false},
      {"no wizard window", kExtensionOpConfigValue, u"Ext.Plain", false, true},
      {"unknown operation", 5, u"Ext.Plain", false, false},
      {"operation 0", 0, u"Ext.Plain", false, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << c.what);
    host_.main = c.noMainWindow ? 0 : 0x100;
    std::vector<ExtensionChar> name = Name(c.name ? c.name : u"");
    int result = NotifyWith(hook, [&](int, int, ExtensionInfo* info, ExtensionCallback callback) {
      return callback(c.op, c.name ? name.data() : nullptr, 0, c.nullInfo ? nullptr : info);
    });
    EXPECT_EQ(result, -1);
  }
}

TEST_F(ExtensionHookTest, FindsAndRenamesControls) {
  platform_.fake_files.PutFile(cc::Str(kDiskLibrary), kImage);
  ASSERT_TRUE(log_.OpenBesideProgram(platform_));
  ExtensionHook hook(platform_, config_, payload_, host_, log_);
  ASSERT_TRUE(hook.Load());
  std::vector<int> results;
  std::vector<uintptr_t> found;
  NotifyWith(hook, [&](int, int, ExtensionInfo* info, ExtensionCallback callback) {
    results.push_back(callback(kExtensionOpFindControl, Name(u"btnNext").data(), 0, info));
    found.push_back(info->control);
    results.push_back(callback(kExtensionOpSetText, Name(u"&Onward").data(), 0, info));
    results.push_back(callback(kExtensionOpFindControl, Name(u"noSuchControl").data(), 0, info));
    found.push_back(info->control);
    // The zero handle a miss leaves names no window to relabel.
    results.push_back(callback(kExtensionOpSetText, Name(u"lost").data(), 0, info));
    return 0;
  });
  EXPECT_EQ(results, (std::vector<int>{0, 0, 0, -1}));
  EXPECT_EQ(found, (std::vector<uintptr_t>{0x14, 0}));
  EXPECT_TRUE(host_.texts[0x14] == cc::Str(u"&Onward"));
  EXPECT_EQ(host_.texts.size(), 1u);
  EXPECT_NE(LogText().find(u"Extension:no control is named noSuchControl"), std::u16string::npos);
}

TEST_F(ExtensionHookTest, PayloadFilesAreReadOncePerNameAndKeptUntilUnload) {
  platform_.fake_files.PutFile(cc::Str(kDiskLibrary), kImage);
  platform_.fake_files.PutFile(cc::Str(u"C:\\project\\data.bin"), "0123456789");
  platform_.fake_files.PutFile(cc::Str(u"C:\\project\\empty.bin"), "");
  ASSERT_TRUE(log_.OpenBesideProgram(platform_));
  ExtensionHook hook(platform_, config_, payload_, host_, log_);
  ASSERT_TRUE(hook.Load());

  struct Seen {
    int result;
    uint32_t size;
    uintptr_t data;
  };
  auto load = [&](const char16_t* name) {
    Seen seen{};
    NotifyWith(hook, [&](int, int, ExtensionInfo* info, ExtensionCallback callback) {
      seen.result = callback(kExtensionOpLoadFile, Name(name).data(), 0, info);
      seen.size = info->fileSize;
      seen.data = static_cast<uintptr_t>(info->fileData);
      return 0;
    });
    return seen;
  };
  Seen first = load(u"data.bin");
  EXPECT_EQ(first.result, 0);
  ASSERT_EQ(first.size, 10u);
  ASSERT_NE(first.data, 0u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(first.data), 10), "0123456789");
  // Changing the file on disk does not change what the library holds.
  platform_.fake_files.PutFile(cc::Str(u"C:\\project\\data.bin"), "changed");
  for (const char16_t* again : {u"data.bin", u"DATA.BIN"}) {
    Seen seen = load(again);
    EXPECT_EQ(seen.data, first.data);
    EXPECT_EQ(seen.size, 10u);
  }
  Seen empty = load(u"empty.bin");
  EXPECT_EQ(empty.result, 0);
  EXPECT_EQ(empty.size, 0u);
  EXPECT_EQ(empty.data, 0u);
  Seen missing = load(u"missing.bin");
  EXPECT_EQ(missing.result, 0);
  EXPECT_EQ(missing.size, 0u);
  EXPECT_EQ(missing.data, 0u);
  EXPECT_NE(LogText().find(u"Extension:payload file missing.bin is not available"), std::u16string::npos);

  // A new library after an unload reads the file anew.
  hook.Unload();
  ASSERT_TRUE(hook.Load());
  EXPECT_EQ(load(u"data.bin").size, 7u);
}

}  // namespace
