#include "platform/win32/win32_process.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace {

class Win32SharedMemory : public SharedMemory {
 public:
  Win32SharedMemory(HANDLE mapping, void* view, int size) : mapping_(mapping), view_(view), size_(size) {}
  ~Win32SharedMemory() override {
    UnmapViewOfFile(view_);
    CloseHandle(mapping_);
  }
  Win32SharedMemory(const Win32SharedMemory&) = delete;
  Win32SharedMemory& operator=(const Win32SharedMemory&) = delete;
  uint8_t* Data() override { return static_cast<uint8_t*>(view_); }
  int Size() const override { return size_; }

 private:
  HANDLE mapping_;
  void* view_;
  int size_;
};

}  // namespace

bool Win32Process::EnablePrivilege(const cc::Str& name) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool ok = LookupPrivilegeValueW(nullptr, Wide(name), &privileges.Privileges[0].Luid) &&
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
            GetLastError() == ERROR_SUCCESS;  // ERROR_NOT_ALL_ASSIGNED means refused
  CloseHandle(token);
  return ok;
}

std::unique_ptr<SharedMemory> Win32Process::CreateSharedMemory(const cc::Str& name, int size) {
  if (size <= 0) return nullptr;
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      static_cast<DWORD>(size), Wide(name));
  if (!mapping) return nullptr;
  void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, static_cast<SIZE_T>(size));
  if (!view) {
    CloseHandle(mapping);
    return nullptr;
  }
  return std::make_unique<Win32SharedMemory>(mapping, view, size);
}

void Win32Process::Sleep(int milliseconds) { ::Sleep(static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds)); }
