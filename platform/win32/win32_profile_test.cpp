#include "platform/win32/win32_profile.h"

#include <gtest/gtest.h>

#include "platform/file_helpers.h"
#include "platform/profile_contract.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/wide.h"

namespace {

cc::Str TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  return cc::Str(reinterpret_cast<const char16_t*>(buffer), static_cast<int>(length));
}

TEST(Win32ProfileTest, BehavesAsTheContractSays) {
  Win32FileSystem files;
  const cc::Str folder = TempFolder() + cc::Str(u"velmora-profile-test\\");
  DeleteFolderTree(files, folder, true);
  ASSERT_TRUE(MakeFolderTree(files, folder));
  Win32Profile profile;
  CheckProfileContract(profile, files, folder);
  DeleteFolderTree(files, folder, true);
}

}  // namespace
