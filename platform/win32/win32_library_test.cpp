// The held file really keeps other writers out until the library is loaded
// from it, and a library loads from a file held that way.
#include "platform/win32/win32_library.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/wide.h"

namespace {

class Win32LibraryTest : public ::testing::Test {
 protected:
  Win32LibraryTest() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = FromWide(temp) + cc::Str::Formatted(u"vx_lib_%u\\", static_cast<unsigned>(GetCurrentProcessId()));
    CreateDirectoryW(Wide(folder_), nullptr);
    path_ = folder_ + cc::Str(u"held.dll");
  }
  ~Win32LibraryTest() override {
    DeleteFileW(Wide(path_));
    RemoveDirectoryW(Wide(folder_));
  }

  // The built test library's bytes (Wine shows the build folder on Z:).
  static std::string LibraryBytes() {
    std::ifstream in("Z:" VELMORA_TEST_EXTENSION, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  Win32LibraryLoader loader_;
  cc::Str folder_;
  cc::Str path_;
};

TEST_F(Win32LibraryTest, AHeldFileCannotBeChangedButLoads) {
  std::string bytes = LibraryBytes();
  ASSERT_GT(bytes.size(), 1000u);
  cc::Str reason;
  std::unique_ptr<HeldFile> held = loader_.WriteHeld(path_, bytes, &reason);
  ASSERT_NE(held, nullptr);

  // Nobody may write, replace, rename or delete it while it is held...
  HANDLE writer = CreateFileW(Wide(path_), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  EXPECT_FALSE(DeleteFileW(Wide(path_)));
  EXPECT_FALSE(MoveFileW(Wide(path_), Wide(folder_ + cc::Str(u"moved.dll"))));
  // ...but reading goes on, and the library loads from exactly that file.
  HANDLE reader = CreateFileW(Wide(path_), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
  std::unique_ptr<Library> library = loader_.Load(path_, &reason);
  ASSERT_NE(library, nullptr) << std::string(reason.GetBuffer(), reason.GetBuffer() + reason.GetLength());
  EXPECT_NE(library->Export("CallDllEnter"), nullptr);
  EXPECT_EQ(library->Export("NoSuchExport"), nullptr);

  held.reset();
  library.reset();
  EXPECT_TRUE(DeleteFileW(Wide(path_)));
}

TEST_F(Win32LibraryTest, FailuresSayWhyAndLeaveNoFile) {
  cc::Str reason;
  // An existing file is never taken over, nor changed.
  std::string original = "somebody else's";
  HANDLE file = CreateFileW(Wide(path_), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, original.data(), static_cast<DWORD>(original.size()), &written, nullptr);
  CloseHandle(file);
  EXPECT_EQ(loader_.WriteHeld(path_, "MZ new", &reason), nullptr);
  EXPECT_TRUE(reason.StartsWith(cc::Str(u"cannot create")));
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExW(Wide(path_), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, original.size());
  ASSERT_TRUE(DeleteFileW(Wide(path_)));

  // Bytes that are no library are written and held, but do not load.
  std::unique_ptr<HeldFile> held = loader_.WriteHeld(path_, "not a library", &reason);
  ASSERT_NE(held, nullptr);
  reason = cc::Str(u"");
  EXPECT_EQ(loader_.Load(path_, &reason), nullptr);
  EXPECT_TRUE(reason.StartsWith(cc::Str(u"cannot load '") + path_ + cc::Str(u"': ")));
  EXPECT_GT(reason.GetLength(), path_.GetLength() + 15);  // the system's reason follows

  // A folder that is not there.
  EXPECT_EQ(loader_.WriteHeld(folder_ + cc::Str(u"absent\\x.dll"), "MZ", &reason), nullptr);
  EXPECT_EQ(GetFileAttributesW(Wide(folder_ + cc::Str(u"absent"))), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
