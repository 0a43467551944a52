#include "platform/win32/win32_system_info.h"

#include <shlobj.h>

#include <string>

#include "platform/win32/wide.h"

namespace {

// Longest user name (UNLEN) plus its terminator.
constexpr DWORD kUserNameChars = 257;
// Locale names are at most 9 characters.
constexpr int kLocaleChars = 16;

cc::Str LocaleText(LCTYPE type) {
  wchar_t buffer[kLocaleChars] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, kLocaleChars) == 0) return cc::Str(u"");
  return FromWide(buffer);
}

}  // namespace

bool Win32SystemInfo::QueryVersion(VersionRecord* record) {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
    // Systems before the extended record know only the short one.
    info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return false;
  }
  record->major = info.dwMajorVersion;
  record->minor = info.dwMinorVersion;
  record->build = info.dwBuildNumber;
  record->platform_id = info.dwPlatformId;
  record->suite_mask = info.wSuiteMask;
  record->product_type = info.wProductType;
  return true;
}

ProcessorInfo Win32SystemInfo::QueryProcessor() {
  using NativeQuery = void(WINAPI*)(LPSYSTEM_INFO);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  FARPROC address = kernel ? GetProcAddress(kernel, "GetNativeSystemInfo") : nullptr;
  SYSTEM_INFO info = {};
  ProcessorInfo result;
  result.native_query_exists = address != nullptr;
  if (address) {
    reinterpret_cast<NativeQuery>(reinterpret_cast<void (*)()>(address))(&info);
  } else {
    GetSystemInfo(&info);
  }
  result.architecture = info.wProcessorArchitecture;
  return result;
}

bool Win32SystemInfo::HasServerR2Metric() { return GetSystemMetrics(SM_SERVERR2) != 0; }

bool Win32SystemInfo::IsExactVersion(int major, int minor) {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  info.dwMajorVersion = static_cast<DWORD>(major);
  info.dwMinorVersion = static_cast<DWORD>(minor);
  DWORDLONG condition = 0;
  condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_EQUAL);
  condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_EQUAL);
  return VerifyVersionInfoW(&info, VER_MAJORVERSION | VER_MINORVERSION, condition) != FALSE;
}

cc::Str Win32SystemInfo::LocaleLanguageName() { return LocaleText(LOCALE_SISO639LANGNAME); }

cc::Str Win32SystemInfo::LocaleCountryName() { return LocaleText(LOCALE_SISO3166CTRYNAME); }

cc::Str Win32SystemInfo::UserName() {
  wchar_t buffer[kUserNameChars] = {};
  DWORD size = kUserNameChars;
  if (!GetUserNameW(buffer, &size)) return cc::Str(u"");
  return FromWide(buffer);
}

cc::Str Win32SystemInfo::SpecialFolderPath(int csidl) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return cc::Str(u"");
  return FromWide(buffer);
}

cc::Str Win32SystemInfo::TempPath() {
  wchar_t buffer[MAX_PATH + 2] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH + 1) return cc::Str(u"");
  return FromWide(buffer);
}

cc::Str Win32SystemInfo::WindowsFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return cc::Str(u"");
  return FromWide(buffer);
}

cc::Str Win32SystemInfo::EnvironmentValue(const cc::Str& name) {
  // The value can change between asking its size and reading it.
  for (int attempt = 0; attempt < 4; ++attempt) {
    SetLastError(ERROR_SUCCESS);
    DWORD size = GetEnvironmentVariableW(Wide(name), nullptr, 0);
    if (size == 0) {
      return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? cc::Str() : cc::Str(u"");
    }
    std::u16string value(size, u'\0');
    DWORD length = GetEnvironmentVariableW(Wide(name), reinterpret_cast<wchar_t*>(value.data()), size);
    if (length < size) {
      value.resize(length);
      return cc::Str(value);
    }
  }
  return cc::Str();
}

bool Win32SystemInfo::DiskSpace(const cc::Str& path, uint64_t* totalBytes, uint64_t* freeBytes) {
  ULARGE_INTEGER available, total, free;
  if (!GetDiskFreeSpaceExW(Wide(path), &available, &total, &free)) return false;
  *totalBytes = total.QuadPart;
  *freeBytes = free.QuadPart;
  return true;
}

cc::Str Win32SystemInfo::ModuleFileName() {
  for (DWORD size = MAX_PATH + 1; size <= 32768 * 2; size *= 2) {
    std::u16string buffer(size, u'\0');
    DWORD length = GetModuleFileNameW(nullptr, reinterpret_cast<wchar_t*>(buffer.data()), size);
    if (length == 0) return cc::Str(u"");
    if (length < size) {
      buffer.resize(length);
      return cc::Str(buffer);
    }
  }
  return cc::Str(u"");
}

cc::Str Win32SystemInfo::CreateTempName(const cc::Str& folder, const cc::Str& prefix) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (GetTempFileNameW(Wide(folder), Wide(prefix), 0, buffer) == 0) return cc::Str(u"");
  return FromWide(buffer);
}

uint64_t Win32SystemInfo::ToLocalFileTime(uint64_t utc) {
  FILETIME in = ToFileTime(utc);
  FILETIME out;
  if (!FileTimeToLocalFileTime(&in, &out)) return utc;
  return FromFileTime(out);
}
