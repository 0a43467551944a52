// A failed call of the Win32 seam keeps the system's code and its own words
// for it, and the object it was about: what the setup log and "Ret.ErrorInfo"
// show to say why.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/os_error.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"

namespace {

// The system's text for `code` as FormatMessage gives it, trimmed.
std::string SystemText(DWORD code) { return Win32ErrorText(code).ToUtf8(); }

TEST(Win32OsErrorTest, AFileInAMissingFolderReportsThePathNotFound) {
  Win32FileSystem files;
  const cc::Str path = cc::Str::Formatted(u"C:\\velmora-missing-%u\\file.txt",
                                          static_cast<unsigned>(GetCurrentProcessId()));
  EXPECT_EQ(files.Open(path, OpenMode::kCreate), nullptr);
  const OsError& error = files.LastError();
  EXPECT_EQ(error.code, static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(error.object.ToUtf8(), path.ToUtf8());
  EXPECT_FALSE(error.message.IsEmpty());
  EXPECT_EQ(error.message.ToUtf8(), SystemText(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(error.message.ToUtf8().find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(DescribeOsError(error).ToUtf8(),
            SystemText(ERROR_PATH_NOT_FOUND) + " (error 3): " + path.ToUtf8());

  // A later success leaves the failure for the caller to read.
  EXPECT_NE(files.GetAttributes(u"C:\\"), kInvalidFileAttributes);
  EXPECT_EQ(files.LastError().code, static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));

  // Other calls name their own object and code.
  EXPECT_FALSE(files.RemoveFolder(path));
  EXPECT_EQ(files.LastError().object.ToUtf8(), path.ToUtf8());
  EXPECT_NE(files.LastError().code, 0u);
}

TEST(Win32OsErrorTest, AKeyThatCannotBeCreatedReportsWhy) {
  Win32Registry registry;
  // A key name longer than the registry allows (255 characters).
  const cc::Str path = cc::Str(u"Software\\") + cc::Str(std::u16string(300, u'k'));
  EXPECT_EQ(registry.CreateKey(RegRoot::kCurrentUser, path), nullptr);
  const OsError& error = registry.LastError();
  EXPECT_NE(error.code, 0u);
  EXPECT_EQ(error.message.ToUtf8(), SystemText(error.code));
  EXPECT_FALSE(error.message.IsEmpty()) << "code " << error.code;
  EXPECT_EQ(error.object.ToUtf8(), "HKEY_CURRENT_USER\\" + path.ToUtf8());

  // Deleting a key that is not there names the key and the system's reason.
  const cc::Str missing = cc::Str::Formatted(u"Software\\VelmoraMissing%u",
                                             static_cast<unsigned>(GetCurrentProcessId()));
  EXPECT_FALSE(registry.DeleteKey(RegRoot::kCurrentUser, missing));
  EXPECT_EQ(registry.LastError().code, static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(registry.LastError().object.ToUtf8(), "HKEY_CURRENT_USER\\" + missing.ToUtf8());
}

}  // namespace
