#include "platform/win32/win32_file_system.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/path_text.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_error.h"

namespace {

FoundFile Describe(const WIN32_FIND_DATAW& data) {
  FoundFile found;
  found.name = FromWide(data.cFileName);
  found.attributes = data.dwFileAttributes;
  found.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  found.last_write = FromFileTime(data.ftLastWriteTime);
  return found;
}

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// Owns a search handle.
class FindHandle {
 public:
  FindHandle(const cc::Str& pattern, WIN32_FIND_DATAW* data)
      : handle_(FindFirstFileW(Wide(pattern), data)) {}
  ~FindHandle() {
    if (valid()) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Sets the times of the open `handle`; a zero member leaves that time.
bool SetHandleTimes(HANDLE handle, const FileTimes& times) {
  FILETIME creation = ToFileTime(times.creation);
  FILETIME access = ToFileTime(times.last_access);
  FILETIME write = ToFileTime(times.last_write);
  return SetFileTime(handle, times.creation ? &creation : nullptr, times.last_access ? &access : nullptr,
                     times.last_write ? &write : nullptr) != FALSE;
}

class Win32File : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override { Close(); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  int Read(void* buffer, int size) override {
    DWORD read = 0;
    if (!open() || size < 0 || !ReadFile(handle_, buffer, static_cast<DWORD>(size), &read, nullptr)) {
      return -1;
    }
    return static_cast<int>(read);
  }

  bool Write(const void* data, int size) override {
    if (!open() || size < 0) return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
      DWORD written = 0;
      if (!WriteFile(handle_, bytes, static_cast<DWORD>(size), &written, nullptr) || written == 0) {
        return false;
      }
      bytes += written;
      size -= static_cast<int>(written);
    }
    return true;
  }

  bool Flush() override { return open() && FlushFileBuffers(handle_); }

  int64_t Size() override {
    LARGE_INTEGER size;
    if (!open() || !GetFileSizeEx(handle_, &size)) return -1;
    return size.QuadPart;
  }

  int64_t Seek(int64_t offset, SeekFrom from) override {
    DWORD method = from == SeekFrom::kBegin ? FILE_BEGIN : from == SeekFrom::kCurrent ? FILE_CURRENT : FILE_END;
    LARGE_INTEGER distance, position;
    distance.QuadPart = offset;
    if (!open() || !SetFilePointerEx(handle_, distance, &position, method)) return -1;
    return position.QuadPart;
  }

  bool SetTimes(const FileTimes& times) override { return open() && SetHandleTimes(handle_, times); }

  bool RenameTo(const cc::Str& target) override {
    if (!open()) return false;
    const size_t nameBytes = static_cast<size_t>(target.GetLength()) * sizeof(wchar_t);
    // FILE_RENAME_INFO ends in the name's first character: room for the rest.
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->FileName, Wide(target), nameBytes);
    return SetFileInformationByHandle(handle_, FileRenameInfo, info,
                                      static_cast<DWORD>(buffer.size())) != FALSE;
  }

  bool Close() override {
    if (!open()) return false;
    bool closed = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  bool open() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE handle_;
};

}  // namespace

bool Win32FileSystem::FindFirst(const cc::Str& pattern, FoundFile* found) {
  WIN32_FIND_DATAW data;
  FindHandle search(pattern, &data);
  if (!Checked(search.valid(), pattern)) return false;
  *found = Describe(data);
  return true;
}

bool Win32FileSystem::ListFolder(const cc::Str& folder, std::vector<FoundFile>* entries) {
  uint32_t attributes = GetAttributes(folder);
  if (attributes == kInvalidFileAttributes || !(attributes & kFileAttributeDirectory)) return false;
  cc::Str pattern = WithTrailingBackslash(folder);
  pattern.Append(u'*');
  entries->clear();
  WIN32_FIND_DATAW data;
  FindHandle search(pattern, &data);
  // An empty drive root has not even "." and "..".
  if (!search.valid()) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (!IsDotEntry(data.cFileName)) entries->push_back(Describe(data));
  } while (FindNextFileW(search.get(), &data));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

uint32_t Win32FileSystem::GetAttributes(const cc::Str& path) { return GetFileAttributesW(Wide(path)); }

bool Win32FileSystem::SetAttributes(const cc::Str& path, uint32_t attributes) {
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  return Checked(SetFileAttributesW(Wide(path), attributes) != FALSE, path);
}

bool Win32FileSystem::RemoveFile(const cc::Str& path) { return Checked(DeleteFileW(Wide(path)) != FALSE, path); }

bool Win32FileSystem::CreateFolder(const cc::Str& path) {
  return Checked(CreateDirectoryW(Wide(path), nullptr) != FALSE, path);
}

bool Win32FileSystem::RemoveFolder(const cc::Str& path) {
  return Checked(RemoveDirectoryW(Wide(path)) != FALSE, path);
}

std::unique_ptr<File> Win32FileSystem::Open(const cc::Str& path, OpenMode mode) {
  DWORD access = GENERIC_WRITE;
  // Readers let others keep writing (a log file that is still open).
  DWORD share = FILE_SHARE_READ;
  DWORD disposition = OPEN_ALWAYS;
  if (mode == OpenMode::kRead) {
    access = GENERIC_READ;
    share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    disposition = OPEN_EXISTING;
  } else if (mode == OpenMode::kCreate || mode == OpenMode::kCreateToRename) {
    disposition = CREATE_ALWAYS;
  }
  // Renaming an open file needs the right to delete its name.
  if (mode == OpenMode::kCreateToRename) access |= DELETE;
  HANDLE handle = INVALID_HANDLE_VALUE;
  if (disposition == CREATE_ALWAYS) {
    // Most new files do not exist yet: one call makes them. A file that is
    // there goes the long way below, which refuses a read-only one.
    handle = CreateFileW(Wide(path), access, share, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return std::make_unique<Win32File>(handle);
    if (GetLastError() != ERROR_FILE_EXISTS) {
      Checked(false, path);
      return nullptr;
    }
  }
  if (mode != OpenMode::kRead && !WritableTarget(path)) return nullptr;
  handle = CreateFileW(Wide(path), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (!Checked(handle != INVALID_HANDLE_VALUE, path)) return nullptr;
  return std::make_unique<Win32File>(handle);
}

bool Win32FileSystem::GetTimes(const cc::Str& path, FileTimes* times) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!Checked(GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data) != FALSE, path)) return false;
  times->creation = FromFileTime(data.ftCreationTime);
  times->last_access = FromFileTime(data.ftLastAccessTime);
  times->last_write = FromFileTime(data.ftLastWriteTime);
  return true;
}

bool Win32FileSystem::SetTimes(const cc::Str& path, const FileTimes& times) {
  // Backup semantics let the handle name a folder too.
  HANDLE handle = CreateFileW(Wide(path), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (!Checked(handle != INVALID_HANDLE_VALUE, path)) return false;
  const bool ok = SetHandleTimes(handle, times);
  const DWORD error = GetLastError();
  CloseHandle(handle);
  SetLastError(error);
  return Checked(ok, path);
}

bool Win32FileSystem::Copy(const cc::Str& source, const cc::Str& target, bool failIfExists) {
  // The error names the target: the source's absence shows in its code.
  if (!WritableTarget(target)) return false;
  return Checked(CopyFileW(Wide(source), Wide(target), failIfExists ? TRUE : FALSE) != FALSE, target);
}

bool Win32FileSystem::WritableTarget(const cc::Str& path) {
  // Windows refuses to write over a read-only file; Wine run by the
  // superuser would write over it. Refuse alike everywhere.
  const DWORD attributes = GetFileAttributesW(Wide(path));
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0 ||
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return true;
  }
  SetLastError(ERROR_ACCESS_DENIED);
  return Checked(false, path);
}

bool Win32FileSystem::Checked(bool ok, const cc::Str& object) {
  if (!ok) {
    const DWORD code = GetLastError();
    RecordError(code, object, Win32ErrorText(code));
  }
  return ok;
}

bool Win32FileSystem::Move(const cc::Str& source, const cc::Str& target, bool replace) {
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
  if (replace && !WritableTarget(target)) return false;
  return Checked(MoveFileExW(Wide(source), Wide(target), flags) != FALSE, target);
}
