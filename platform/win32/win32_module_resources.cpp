#include "platform/win32/win32_module_resources.h"

#include "platform/win32/wide.h"

bool Win32ModuleResources::View(const cc::Str& type, int id, std::string_view* bytes) {
  HMODULE module = static_cast<HMODULE>(module_);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), Wide(type));
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  DWORD size = SizeofResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data && size > 0) return false;
  // A resource lives in the mapped image until the module is unloaded.
  *bytes = std::string_view(static_cast<const char*>(data), size);
  return true;
}

bool Win32ModuleResources::Read(const cc::Str& type, int id, std::string* bytes) {
  std::string_view view;
  if (!View(type, id, &view)) return false;
  bytes->assign(view.data(), view.size());
  return true;
}
