// The callback operations a loaded extension library may ask for.
#include <algorithm>
#include <cstring>
#include <string>

#include "core/key_arr.h"
#include "runtime/extension_hook.h"
#include "runtime/payload_loader.h"
#include "runtime/setup_log.h"

namespace {

// The current language code.
constexpr char16_t kLanguageKey[] = u"s.c.IniLang";

cc::Str FromExtension(const ExtensionChar* text) {
  std::u16string units;
  for (; *text != 0; ++text) units.push_back(static_cast<char16_t>(*text));
  return cc::Str(units);
}

// Payload names ignore ASCII letter case, as the archive's lookup does.
std::u16string Folded(const cc::Str& name) {
  std::u16string key(name.GetBuffer());
  for (char16_t& unit : key) {
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
  }
  return key;
}

}  // namespace

int ExtensionHook::Callback(int op, const ExtensionChar* name, ExtensionInfo* info) {
  if (name == nullptr || *name == 0 || info == nullptr || host_.MainWindow() == 0) return -1;
  cc::Str text = FromExtension(name);
  switch (op) {
    case kExtensionOpFindControl:
      return FindControl(text, info);
    case kExtensionOpSetText:
      return SetText(text, info);
    case kExtensionOpConfigValue:
      return ConfigValue(text, info);
    case kExtensionOpLoadFile:
      return LoadFile(text, info);
    default:
      return -1;
  }
}

int ExtensionHook::FindControl(const cc::Str& name, ExtensionInfo* info) {
  uintptr_t handle = host_.FindControl(name);
  info->control = static_cast<decltype(info->control)>(handle);
  // Still a success: libraries test the handle, not the result.
  if (handle == 0) log_.Line(u"Extension:no control is named %s", name);
  return 0;
}

int ExtensionHook::SetText(const cc::Str& text, ExtensionInfo* info) {
  return host_.SetControlText(static_cast<uintptr_t>(info->control), text) ? 0 : -1;
}

int ExtensionHook::ConfigValue(const cc::Str& name, ExtensionInfo* info) {
  cc::Str value = config_.Get(name);
  if (value.IsNull()) {
    cc::Str key = config_.Get(cc::Str(kLanguageKey));
    if (!name.StartsWith(cc::Str(u"."))) key.Append(u'.');
    key.Append(name);
    value = config_.Get(key);
  }
  if (value.IsNull()) return -1;
  // The block has room for VELMORA_EXTENSION_TEXT_UNITS units with the
  // terminator; a longer value is cut, its full length still reported.
  int length = value.GetLength();
  int copied = std::min(length, VELMORA_EXTENSION_TEXT_UNITS - 1);
  if (copied < length) log_.Line(u"Extension:the value of %s has %d units, cut to %d", name, length, copied);
  const char16_t* units = value.GetBuffer();
  for (int i = 0; i < copied; ++i) info->text[i] = static_cast<ExtensionChar>(units[i]);
  info->text[copied] = 0;
  info->textLength = static_cast<uint32_t>(length + 1);
  return 0;
}

int ExtensionHook::LoadFile(const cc::Str& name, ExtensionInfo* info) {
  std::u16string key = Folded(name);
  auto found = loaded_files_.find(key);
  if (found == loaded_files_.end()) {
    std::string bytes;
    if (!LoadPayloadFile(payload_.archive(), platform_, &config_, name, &bytes) ||
        bytes.size() > UINT32_MAX) {
      bytes.clear();
      log_.Line(u"Extension:payload file %s is not available", name);
      info->fileSize = 0;
      info->fileData = 0;
      return 0;
    }
    found = loaded_files_.emplace(key, std::move(bytes)).first;
  }
  const std::string& bytes = found->second;
  info->fileSize = static_cast<uint32_t>(bytes.size());
  info->fileData = bytes.empty() ? 0 : static_cast<decltype(info->fileData)>(reinterpret_cast<uintptr_t>(bytes.data()));
  return 0;
}
