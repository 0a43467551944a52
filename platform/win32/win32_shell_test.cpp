#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/file_helpers.h"
#include "platform/system_helpers.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/wide.h"

namespace {

// Reads a saved link back through the shell's own link object.
struct ReadLink {
  std::wstring path, arguments, working, description, icon;
  int icon_index = -1;
};

bool Load(const cc::Str& file, ReadLink* out) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* persist = nullptr;
  bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       reinterpret_cast<void**>(&link))) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
            SUCCEEDED(persist->Load(Wide(file), STGM_READ));
  if (ok) {
    wchar_t buffer[MAX_PATH];
    link->GetPath(buffer, MAX_PATH, nullptr, 0);
    out->path = buffer;
    link->GetArguments(buffer, MAX_PATH);
    out->arguments = buffer;
    link->GetWorkingDirectory(buffer, MAX_PATH);
    out->working = buffer;
    link->GetDescription(buffer, MAX_PATH);
    out->description = buffer;
    link->GetIconLocation(buffer, MAX_PATH, &out->icon_index);
    out->icon = buffer;
  }
  if (persist) persist->Release();
  if (link) link->Release();
  CoUninitialize();
  return ok;
}

TEST(Win32ShellTest, SavesEveryFieldOfALink) {
  Win32SystemInfo system;
  Win32FileSystem files;
  const cc::Str folder = GetTempFolder(system) + cc::Str::Formatted(u"velmora-link-%u\\", GetCurrentProcessId());
  ASSERT_TRUE(MakeFolderTree(files, folder));
  const cc::Str target = folder + cc::Str(u"tool.exe");
  ASSERT_TRUE(WriteFileBytes(files, target, "MZ", cc::kCodePageAnsi, false, false));

  ShellLinkSpec spec;
  spec.link_path = folder + cc::Str(u"Tool.lnk");
  spec.target = target;
  spec.arguments = u"--quiet \"a b\"";
  spec.working_folder = folder;
  spec.description = u"Uninstall Tool";
  spec.icon_path = target;
  spec.icon_index = 2;
  spec.show_command = kShowMinimized;
  spec.hot_key = 0x0654;  // Ctrl+Shift+T
  Win32Shell shell;
  ASSERT_TRUE(shell.CreateLink(spec));

  ReadLink read;
  ASSERT_TRUE(Load(spec.link_path, &read));
  EXPECT_EQ(read.path, std::wstring(Wide(target)));
  EXPECT_EQ(read.arguments, L"--quiet \"a b\"");
  EXPECT_EQ(read.description, L"Uninstall Tool");
  EXPECT_EQ(read.icon_index, 2);
  // Wine's link object does not read the show command back; the header
  // bytes hold it (0x3C) and the hot key (0x40).
  std::string bytes;
  ASSERT_GT(ReadWholeFile(files, spec.link_path, &bytes), 0x42);
  auto little = [&](size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
  };
  EXPECT_EQ(little(0x3C, 4), static_cast<uint32_t>(kShowMinimized));
  EXPECT_EQ(little(0x40, 2), 0x0654u);

  // A folder that does not exist cannot receive a link.
  spec.link_path = folder + cc::Str(u"missing\\Tool.lnk");
  EXPECT_FALSE(shell.CreateLink(spec));
  DeleteFolderTree(files, folder, true);
}

}  // namespace
