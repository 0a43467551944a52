// The extension hook with a real library (tests/extension_library) on real
// windows: every event and callback operation as the library sees them,
// and the libraries that cannot be used.
#include "wizard/win32/extension_host.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/key_arr.h"
#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/system_helpers.h"
#include "platform/system_info.h"
#include "platform/win32/win32_platform.h"
#include "runtime/payload_loader.h"
#include "runtime/setup_log.h"
#include "ui/win32/app.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/container.h"
#include "ui/win32/form.h"

namespace {

using cc::Str;
using cc::win::Control;

// The main form's fixed controls, a page host with a page, and a declared
// button on the page.
struct Wizard {
  cc::win::Form form;
  cc::win::ControlContainer* host = nullptr;
  cc::win::Panel* page = nullptr;
  cc::win::Button* declared = nullptr;
  Control* current = nullptr;

  Wizard() {
    form.SetName(Str(u"frmMain"));
    form.SetClientSize(500, 355);
    for (const char16_t* name : {u"labBTitle", u"labSTitle", u"copyMain", u"linkMain"}) {
      auto* label = form.Add(std::make_unique<cc::win::Label>());
      label->SetName(Str(name));
      label->SetBounds(5, 5, 100, 20);
    }
    int x = 200;
    for (const char16_t* name : {u"btnBack", u"btnNext", u"btnCancel"}) {
      auto* button = form.Add(std::make_unique<cc::win::Button>());
      button->SetName(Str(name));
      button->SetText(Str(u"button"));
      button->SetBounds(x, 320, 80, 24);
      x += 90;
    }
    host = form.Add(std::make_unique<cc::win::ControlContainer>());
    host->SetName(Str(u"labBack2"));
    host->SetBounds(0, 57, 500, 250);
    page = host->Add(std::make_unique<cc::win::Panel>());
    page->SetName(Str(u"page"));
    page->SetBounds(0, 0, 500, 250);
    declared = page->Add(std::make_unique<cc::win::Button>());
    declared->SetName(Str(u"btnDeclared"));
    declared->SetBounds(10, 10, 100, 24);
    current = page;
  }
};

std::u16string Wide16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// A built library's path as Wine sees it.
Str BuiltLibrary(const char* unixPath) { return Str(u"Z:" + Wide16(unixPath)); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string bytes;
  for (char16_t unit : text) {
    if (unit < 0x80) bytes.push_back(static_cast<char>(unit));
    else bytes += "?";
  }
  return bytes;
}

class ExtensionWineTest : public ::testing::Test {
 protected:
  ExtensionWineTest() {
    platform_ = CreateWin32Platform();
    temp_ = GetTempFolder(*platform_->system);
    leftovers_before_ = TempLeftovers();
    project_ = temp_ + Str::Formatted(u"vx_ext_%u\\", static_cast<unsigned>(GetCurrentProcessId()));
    DeleteFolderTree(*platform_->files, project_, true);
    EXPECT_TRUE(MakeFolder(*platform_->files, project_));
    EXPECT_TRUE(log_.Open(*platform_->files, nullptr, project_ + Str(u"setup.log")));
    config_.Set(Str(kEditLocBaseKey), project_);
  }
  ~ExtensionWineTest() override {
    log_.Close();
    DeleteFolderTree(*platform_->files, project_, true);
  }

  // The "~T_" names in the temporary folder.
  std::set<std::u16string> TempLeftovers() {
    std::set<std::u16string> names;
    std::vector<FoundFile> entries;
    platform_->files->ListFolder(temp_, &entries);
    for (const FoundFile& entry : entries) {
      if (entry.name.StartsWith(Str(u"~T_"))) names.insert(entry.name.GetBuffer());
    }
    return names;
  }

  std::string FileText(const Str& path) {
    std::string bytes;
    ReadWholeFile(*platform_->files, path, &bytes);
    return bytes;
  }

  std::u16string LogText() {
    std::string bytes = FileText(project_ + Str(u"setup.log"));
    return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
  }

  void PutLibrary(const Str& source) {
    ASSERT_TRUE(CopyFileW(cc::win::Wide(source), cc::win::Wide(project_ + Str(u"user.dll")), FALSE))
        << Utf16ToUtf8(source.GetBuffer());
  }

  std::unique_ptr<Platform> platform_;
  Str temp_;
  Str project_;
  std::set<std::u16string> leftovers_before_;
  cc::KeyArr config_{false, true};
  LoadedPayload payload_;
  SetupLog log_;
};

std::string WindowText(HWND window) {
  wchar_t text[100] = {};
  GetWindowTextW(window, text, 100);
  return Utf16ToUtf8(reinterpret_cast<const char16_t*>(text));
}

std::string HexOf(uintptr_t value) {
  std::ostringstream out;
  out << std::hex << value;
  return out.str();
}

TEST_F(ExtensionWineTest, TheLibrarySeesEveryEventAndOperation) {
  cc::win::App app;
  Wizard wizard;
  ASSERT_TRUE(wizard.form.CreateControl());
  WizardExtensionHost host(wizard.form, [&wizard] { return wizard.current; });
  PutLibrary(BuiltLibrary(VELMORA_TEST_EXTENSION));
  WriteFileBytes(*platform_->files, project_ + Str(u"data.bin"), "0123456789", 0, false, false);
  const std::pair<const char16_t*, std::u16string> settings[] = {
      {u"Ext.LogFile", std::u16string((project_ + Str(u"ext.log")).GetBuffer())},
      {u"Ext.LangKey", u"s.t.Greeting"},
      {u"s.c.IniLang", u"en-US"},
      {u"en-US.s.t.Greeting", u"Hello there"},
      {u"de-DE.s.t.Greeting", u"Hallo"},
      {u"Ext.Long", std::u16string(1999, u'c') + u"Z"},
      {u"Ext.PayloadFile", u"data.bin"},
      {u"Ext.RefusePage", u"103"},
      {u"Ext.NextText", u"&Onward"},
  };
  for (const auto& [key, value] : settings) config_.Set(Str(key), Str(value));

  ExtensionHook hook(*platform_, config_, payload_, host, log_);
  ASSERT_TRUE(hook.Load()) << Utf16ToUtf8(hook.LoadReport().GetBuffer());
  EXPECT_TRUE(hook.LibraryPath().StartsWith(temp_ + Str(u"~T_"), true));
  EXPECT_EQ(hook.Notify(101, kExtensionEventCreated), 0);
  EXPECT_EQ(hook.Notify(101, kExtensionEventForward), 0);
  EXPECT_EQ(hook.Notify(103, kExtensionEventLeaveNext), -1);  // refused once
  EXPECT_EQ(hook.Notify(103, kExtensionEventLeaveNext), 0);
  EXPECT_EQ(hook.Notify(103, kExtensionEventBack), 0);
  EXPECT_EQ(hook.Notify(103, kExtensionEventLeaveBack), 0);
  uintptr_t clicked = reinterpret_cast<uintptr_t>(wizard.declared->Handle());
  EXPECT_EQ(hook.Notify(103, kExtensionEventClick, clicked), 0);
  Control* next = wizard.form.FindChild(Str(u"btnNext"));
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(WindowText(next->Handle()), "&Onward");
  EXPECT_TRUE(next->Text() == Str(u"&Onward"));
  wizard.current = nullptr;  // the end comes when no page is shown
  Str libraryPath = hook.LibraryPath();
  hook.Unload();
  EXPECT_FALSE(hook.Loaded());
  EXPECT_EQ(GetFileAttributesW(cc::win::Wide(libraryPath)), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(TempLeftovers(), leftovers_before_);

  const std::string all = "handles=1111111111 control=0";
  const std::vector<std::string> expected = {
      "call page=101 event=1 " + all,
      "lang full=0:Hello there relative=0:Hello there",
      "long result=0 length=2001 units=1023",
      "file result=0 size=10 same=1",
      "miss result=0 control=0",
      "call page=101 event=2 " + all,
      "call page=103 event=4 " + all,
      "refuse page=103",
      "call page=103 event=4 " + all,
      "call page=103 event=3 " + all,
      "call page=103 event=5 " + all,
      "call page=103 event=50 handles=1111111111 control=" + HexOf(clicked),
      "rename find=0 set=0",
      "call page=-1 event=99 handles=1110111110 control=0",
      "end",
  };
  EXPECT_EQ(Lines(FileText(project_ + Str(u"ext.log"))), expected);
  std::u16string log = LogText();
  EXPECT_NE(log.find(u"Extension:loaded "), std::u16string::npos);
  EXPECT_NE(log.find(u"Extension:no control is named noSuchControl"), std::u16string::npos);
  EXPECT_NE(log.find(u"Extension:the value of Ext.Long has 2000 units, cut to 1023"),
            std::u16string::npos);
}

TEST_F(ExtensionWineTest, ALibraryThatCannotBeUsedLeavesNothingBehind) {
  cc::win::App app;
  Wizard wizard;
  ASSERT_TRUE(wizard.form.CreateControl());
  WizardExtensionHost host(wizard.form);
  struct Case {
    const char* what;
    const char* built;     // a built library to copy, or nullptr
    std::string content;   // else the file's bytes
    const char16_t* logged;
  };
  const Case cases[] = {
      {"no entry point", VELMORA_TEST_EXTENSION_NOENTRY, "", u"user.dll has no entry point CallDllEnter"},
      {"not a library", nullptr, "This is not a library at all.\r\n", u"Extension:cannot load "},
      {"zero bytes", nullptr, "", u"Extension:user.dll is empty; the setup runs without it"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << c.what);
    Str target = project_ + Str(u"user.dll");
    DeleteFileW(cc::win::Wide(target));
    if (c.built != nullptr) {
      PutLibrary(BuiltLibrary(c.built));
    } else {
      ASSERT_TRUE(WriteFileBytes(*platform_->files, target, c.content, 0, false, false));
    }
    ExtensionHook hook(*platform_, config_, payload_, host, log_);
    EXPECT_FALSE(hook.Load());
    EXPECT_FALSE(hook.Loaded());
    EXPECT_EQ(hook.Notify(101, kExtensionEventLeaveNext), 0);
    EXPECT_EQ(TempLeftovers(), leftovers_before_);
    EXPECT_NE(LogText().find(c.logged), std::u16string::npos) << Utf16ToUtf8(hook.LoadReport().GetBuffer());
  }
}

}  // namespace
