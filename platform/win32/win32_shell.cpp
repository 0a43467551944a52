#include "platform/win32/win32_shell.h"

#include <objbase.h>
#include <objidl.h>
#include <oleauto.h>
#include <propsys.h>
#include <shldisp.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/com_ptr.h"
#include "platform/win32/wide.h"

namespace {

// The longest shell string that is read.
constexpr int kShellStringMax = 260;

// The shell's scripting object ("Shell.Application").
const CLSID kShellApplication = {0x13709620, 0xc279, 0x11ce, {0xa4, 0x9e, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

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

// The value as a PROPVARIANT; false for a key or text that cannot be made.
bool MakeValue(const LinkProperty& property, PROPERTYKEY* key, PROPVARIANT* value) {
  cc::Str formatId = property.format_id;
  if (FAILED(CLSIDFromString(const_cast<LPOLESTR>(Wide(formatId)), &key->fmtid))) return false;
  key->pid = property.property_id;
  PropVariantInit(value);
  switch (property.type) {
    case LinkPropertyType::kString: {
      size_t bytes = (static_cast<size_t>(property.text.GetLength()) + 1) * sizeof(wchar_t);
      auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
      if (!copy) return false;
      CopyMemory(copy, Wide(property.text), bytes);
      value->vt = VT_LPWSTR;
      value->pwszVal = copy;
      return true;
    }
    case LinkPropertyType::kUInt32:
      value->vt = VT_UI4;
      value->ulVal = property.number;
      return true;
    case LinkPropertyType::kBool:
      value->vt = VT_BOOL;
      value->boolVal = property.number ? VARIANT_TRUE : VARIANT_FALSE;
      return true;
  }
  return false;
}

// Each property is set and committed on its own, in order; one that the
// store refuses is left out.
void SetProperties(IShellLinkW* shellLink, const std::vector<LinkProperty>& properties) {
  if (properties.empty()) return;
  ComPtr<IPropertyStore> store;
  if (FAILED(shellLink->QueryInterface(IID_IPropertyStore, store.out_void()))) return;
  for (const LinkProperty& property : properties) {
    PROPERTYKEY key;
    PROPVARIANT value;
    if (!MakeValue(property, &key, &value)) continue;
    if (SUCCEEDED(store->SetValue(key, value))) store->Commit();
    PropVariantClear(&value);
  }
}

// NameSpace wants a folder without its final backslash, except a drive root.
cc::Str NamespaceFolder(cc::Str folder) {
  if (folder.GetLength() > 3 && folder.EndsWith(u"\\")) folder = folder.Substring(0, folder.GetLength() - 1);
  return folder;
}

// The verbs of an item, or false when the folder or item cannot be reached.
bool OpenVerbs(IShellDispatch* shell, const cc::Str& folder, const cc::Str& name,
               FolderItemVerbs** verbs) {
  cc::Str path = NamespaceFolder(folder);
  VARIANT where;
  VariantInit(&where);
  where.vt = VT_BSTR;
  where.bstrVal = SysAllocString(Wide(path));
  ComPtr<Folder> space;
  HRESULT result = shell->NameSpace(where, space.out());
  VariantClear(&where);
  if (FAILED(result) || !space.get()) return false;
  ComBstr itemName(Wide(name));
  ComPtr<FolderItem> item;
  if (FAILED(space->ParseName(itemName.get(), item.out())) || !item.get()) return false;
  return SUCCEEDED(item->Verbs(verbs)) && *verbs;
}

// Calls `visit(verb, name)` for each verb in order until it returns true.
template <typename Visit>
bool WalkVerbs(const cc::Str& folder, const cc::Str& name, Visit visit) {
  ComScope com;
  ComPtr<IShellDispatch> shell;
  if (FAILED(CoCreateInstance(kShellApplication, nullptr, CLSCTX_INPROC_SERVER, IID_IShellDispatch,
                              shell.out_void()))) {
    return false;
  }
  ComPtr<FolderItemVerbs> verbs;
  if (!OpenVerbs(shell.get(), folder, name, verbs.out())) return false;
  long count = 0;
  if (FAILED(verbs->get_Count(&count))) return false;
  for (long i = 0; i < count; ++i) {
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = i;
    ComPtr<FolderItemVerb> verb;
    if (FAILED(verbs->Item(index, verb.out())) || !verb.get()) continue;
    ComBstr verbName;
    if (FAILED(verb->get_Name(verbName.out()))) continue;
    cc::Str text = verbName.get() ? FromWide(verbName.get()) : cc::Str(u"");
    if (visit(verb.get(), text)) break;
  }
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
  SetProperties(shellLink.get(), link.properties);
  ComPtr<IPersistFile> file;
  if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.out_void()))) return false;
  return SUCCEEDED(file->Save(Wide(link.link_path), TRUE));
}

cc::Str Win32Shell::ShellString(int id) {
  HMODULE module = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return cc::Str(u"");
  wchar_t buffer[kShellStringMax + 1] = {};
  int length = LoadStringW(module, static_cast<UINT>(id), buffer, kShellStringMax + 1);
  FreeLibrary(module);
  return length > 0 ? FromWide(buffer) : cc::Str(u"");
}

bool Win32Shell::ItemVerbs(const cc::Str& folder, const cc::Str& name, std::vector<cc::Str>* verbs) {
  verbs->clear();
  return WalkVerbs(folder, name, [verbs](FolderItemVerb*, const cc::Str& text) {
    verbs->push_back(text);
    return false;
  });
}

bool Win32Shell::DoItemVerb(const cc::Str& folder, const cc::Str& name, const cc::Str& verb) {
  bool done = false;
  WalkVerbs(folder, name, [&](FolderItemVerb* candidate, const cc::Str& text) {
    if (text != verb) return false;
    done = SUCCEEDED(candidate->DoIt());
    return true;
  });
  return done;
}

bool Win32Shell::Execute(const cc::Str& verb, const cc::Str& file, const cc::Str& parameters,
                         const cc::Str& folder, int show) {
  HINSTANCE result = ShellExecuteW(nullptr, verb.IsEmpty() ? nullptr : Wide(verb), Wide(file),
                                   parameters.IsEmpty() ? nullptr : Wide(parameters),
                                   folder.IsEmpty() ? nullptr : Wide(folder), show);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::ExecuteAndWait(const cc::Str& verb, const cc::Str& file, const cc::Str& parameters,
                                int show) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  // No error dialog: a setup that waits must not be stopped by one.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = verb.IsEmpty() ? nullptr : Wide(verb);
  info.lpFile = Wide(file);
  info.lpParameters = parameters.IsEmpty() ? nullptr : Wide(parameters);
  info.nShow = show;
  if (!ShellExecuteExW(&info)) return false;
  if (info.hProcess) {
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
  }
  return true;
}

void Win32Shell::NotifyChange(uint32_t event, uint32_t flags, const cc::Str& path) {
  SHChangeNotify(static_cast<LONG>(event), flags, path.IsEmpty() ? nullptr : Wide(path), nullptr);
}
