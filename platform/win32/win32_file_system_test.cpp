// The real file system keeps the rules the in-memory one is written to.
#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/file_system_contract.h"
#include "platform/platform.h"
#include "platform/system_helpers.h"
#include "platform/win32/win32_platform.h"

namespace {

TEST(Win32FileSystemTest, BehavesAsTheInMemoryFileSystemDoes) {
  std::unique_ptr<Platform> platform = CreateWin32Platform();
  const cc::Str base =
      GetTempFolder(*platform->system) +
      cc::Str::Formatted(u"velmora-contract-%u", static_cast<unsigned>(GetCurrentProcessId()));
  CheckFileSystemContract(*platform->files, base);
}

}  // namespace
