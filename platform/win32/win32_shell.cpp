#include "platform/win32/win32_shell.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/wide.h"

namespace {

// COM for the current thread for as long as the object lives. A thread that
// has COM already keeps it as it was.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

// Releases a COM interface when it goes out of scope.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (ptr_) ptr_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  T** out() { return &ptr_; }
  void** out_void() { return reinterpret_cast<void**>(&ptr_); }

 private:
  T* ptr_ = nullptr;
};

bool FillLink(IShellLinkW* shellLink, const ShellLinkSpec& link) {
  if (FAILED(shellLink->SetPath(Wide(link.target)))) return false;
  if (!link.working_folder.IsEmpty()) shellLink->SetWorkingDirectory(Wide(link.working_folder));
  if (!link.description.IsEmpty()) shellLink->SetDescription(Wide(link.description));
  if (!link.icon_path.IsEmpty()) shellLink->SetIconLocation(Wide(link.icon_path), link.icon_index);
  shellLink->SetShowCmd(link.show_command);
  if (link.hot_key != 0) shellLink->SetHotkey(link.hot_key);
  if (!link.arguments.IsEmpty()) shellLink->SetArguments(Wide(link.arguments));
  return true;
}

}  // namespace

bool Win32Shell::CreateLink(const ShellLinkSpec& link) {
  if (link.link_path.IsEmpty()) return false;
  ComScope com;
  ComPtr<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              shellLink.out_void()))) {
    return false;
  }
  if (!FillLink(shellLink.get(), link)) return false;
  ComPtr<IPersistFile> file;
  if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.out_void()))) return false;
  return SUCCEEDED(file->Save(Wide(link.link_path), TRUE));
}
