#include "platform/win32/win32_module_resources.h"

#include "platform/win32/wide.h"

bool Win32ModuleResources::Read(const cc::Str& type, int id, std::string* bytes) {
  HMODULE module = static_cast<HMODULE>(module_);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), Wide(type));
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  DWORD size = SizeofResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data && size > 0) return false;
  bytes->assign(static_cast<const char*>(data), size);
  return true;
}
