#include "platform/win32/win32_library.h"

#include <windows.h>

#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/win32_error.h"

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Close() {
    if (valid()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

class Win32HeldFile : public HeldFile {
 public:
  explicit Win32HeldFile(HANDLE handle) : handle_(handle) {}

 private:
  FileHandle handle_;
};

class Win32Library : public Library {
 public:
  explicit Win32Library(HMODULE module) : module_(module) {}
  ~Win32Library() override { FreeLibrary(module_); }
  Win32Library(const Win32Library&) = delete;
  Win32Library& operator=(const Win32Library&) = delete;
  void* Export(const char* name) override {
    return reinterpret_cast<void*>(GetProcAddress(module_, name));
  }

 private:
  HMODULE module_;
};

cc::Str Failure(const char16_t* what, const cc::Str& path, DWORD code) {
  cc::Str text(what);
  text.Append(u" '");
  text.Append(path);
  text.Append(u"': ");
  text.Append(Win32ErrorText(code));
  return text;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = bytes.size() > 0x100000 ? 0x100000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// True when the file behind `file` holds exactly `bytes`.
bool HoldsExactly(HANDLE file, std::string_view bytes) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size) || static_cast<uint64_t>(size.QuadPart) != bytes.size()) return false;
  std::string buffer(0x10000, '\0');
  size_t offset = 0;
  while (offset < bytes.size()) {
    DWORD read = 0;
    if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) || read == 0) {
      return false;
    }
    if (offset + read > bytes.size() || bytes.compare(offset, read, buffer.data(), read) != 0) return false;
    offset += read;
  }
  return true;
}

}  // namespace

std::unique_ptr<HeldFile> Win32LibraryLoader::WriteHeld(const cc::Str& path, std::string_view bytes,
                                                        cc::Str* reason) {
  // Written through a handle that denies writers, closed, and opened again
  // read-only denying writers and deletion. The loader's own read-only open
  // can share the second handle, not the first. Between the two handles
  // another program could step in, so the held handle reads back and
  // compares everything before the file counts as ours.
  {
    FileHandle writer(CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!writer.valid()) {
      *reason = Failure(u"cannot create", path, GetLastError());
      return nullptr;
    }
    if (!WriteAll(writer.get(), bytes) || !FlushFileBuffers(writer.get())) {
      *reason = Failure(u"cannot write", path, GetLastError());
      writer.Close();
      DeleteFileW(Wide(path));
      return nullptr;
    }
  }
  HANDLE held = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE) {
    *reason = Failure(u"cannot hold", path, GetLastError());
    DeleteFileW(Wide(path));
    return nullptr;
  }
  if (!HoldsExactly(held, bytes)) {
    CloseHandle(held);
    *reason = cc::Str(u"the file '") + path + cc::Str(u"' changed after it was written");
    DeleteFileW(Wide(path));
    return nullptr;
  }
  return std::make_unique<Win32HeldFile>(held);
}

std::unique_ptr<Library> Win32LibraryLoader::Load(const cc::Str& path, cc::Str* reason) {
  // No error boxes from the system for a damaged file: the caller reports.
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryExW(Wide(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  DWORD code = GetLastError();
  SetErrorMode(previous);
  if (!module) {
    *reason = Failure(u"cannot load", path, code);
    return nullptr;
  }
  return std::make_unique<Win32Library>(module);
}
