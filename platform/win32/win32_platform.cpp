#include "platform/win32/win32_platform.h"

#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_module_resources.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_progress.h"
#include "platform/win32/win32_prompts.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_service_manager.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system_info.h"

namespace {

std::u16string AnsiToUtf16(std::string_view bytes) {
  if (bytes.empty()) return std::u16string();
  int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (length <= 0) return std::u16string();
  std::u16string text(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                      reinterpret_cast<wchar_t*>(text.data()), length);
  return text;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  if (text.empty()) return std::string();
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  int units = static_cast<int>(text.size());
  int length = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, units, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

class Win32Platform : public Platform {
 public:
  Win32Platform() {
    system = &system_;
    files = &files_;
    resources = &resources_;
    registry = &registry_;
    profile = &profile_;
    services = &services_;
    process = &process_;
    shell = &shell_;
    prompts = &prompts_;
    progress = &progress_;
    libraries = &libraries_;
  }
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

 private:
  Win32SystemInfo system_;
  Win32FileSystem files_;
  Win32ModuleResources resources_;
  Win32Registry registry_;
  Win32Profile profile_;
  Win32ServiceManager services_;
  Win32Process process_;
  Win32Shell shell_;
  Win32Prompts prompts_;
  Win32Progress progress_;
  Win32LibraryLoader libraries_;
};

}  // namespace

void InstallWin32AnsiConverter() { cc::SetAnsiConverter(cc::AnsiConverter{AnsiToUtf16, Utf16ToAnsi}); }

std::unique_ptr<Platform> CreateWin32Platform() { return std::make_unique<Win32Platform>(); }
