#include "install/shortcut_link.h"

#include <string>
#include <string_view>

#include "platform/file_helpers.h"
#include "platform/os_version.h"
#include "platform/platform.h"

namespace {

const char16_t kUrlHeader[] = u"[InternetShortcut]\r\nURL=";
const char16_t kWebsiteHeader[] = u"[{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}]\r\nProp5=8,Microsoft.Website\r\n";

// Application-model property numbers set on every link of newer systems.
// 8: not shown as newly installed; 9: the start screen does not pin it;
// 12 = 1: it is not pinned on install either.
constexpr uint32_t kPropertyExcludeFromShowInNewInstall = 8;
constexpr uint32_t kPropertyPreventPinning = 9;
constexpr uint32_t kPropertyStartPinOption = 12;
constexpr uint32_t kStartPinOptionNoPinOnInstall = 1;

LinkProperty BoolProperty(uint32_t id) {
  LinkProperty property;
  property.format_id = kAppUserModelFormat;
  property.property_id = id;
  property.type = LinkPropertyType::kBool;
  property.number = 1;
  return property;
}

void ChooseIcon(const cc::Str& target, const LinkFields& fields, ShellLinkSpec* spec) {
  if (fields.icon_index >= 0) {
    spec->icon_path = target;
    spec->icon_index = fields.icon_index;
  } else if (!fields.icon_path.IsEmpty()) {
    spec->icon_path = fields.icon_path;
    spec->icon_index = 0;
  } else if (target.EndsWith(u".exe", true)) {
    spec->icon_path = target;
    spec->icon_index = 0;
  }
}

}  // namespace

cc::Str LinkFileName(const cc::Str& name) {
  std::u16string kept;
  for (char16_t c : name.View()) {
    if (c < 0x20 || std::u16string_view(u":*?\"<>|").find(c) != std::u16string_view::npos) continue;
    kept.push_back(c);
  }
  return cc::Str(std::move(kept));
}

bool IsUrlTarget(const cc::Str& target) {
  return target.StartsWith(u"http://") || target.StartsWith(u"https://") || target.StartsWith(u"ftp://");
}

cc::Str WebLinkText(const cc::Str& url, bool website) {
  cc::Str text = website ? cc::Str(kWebsiteHeader) : cc::Str(u"");
  return text + cc::Str(kUrlHeader) + url + cc::Str(u"\r\n");
}

ShellLinkSpec MakeShellLinkSpec(const cc::Str& linkPath, const cc::Str& target,
                                const LinkFields& fields, int osIndex) {
  ShellLinkSpec spec;
  spec.link_path = linkPath;
  spec.target = target;
  spec.working_folder = fields.working_folder;
  spec.description = fields.description;
  spec.arguments = fields.arguments;
  spec.show_command = fields.show_command;
  spec.hot_key = fields.hot_key;
  ChooseIcon(target, fields, &spec);
  if (osIndex > kOsWindowsServer2008R2) {
    spec.properties.push_back(BoolProperty(kPropertyExcludeFromShowInNewInstall));
  }
  if (osIndex == kOsWindows8) {
    spec.properties.push_back(BoolProperty(kPropertyPreventPinning));
    LinkProperty option;
    option.format_id = kAppUserModelFormat;
    option.property_id = kPropertyStartPinOption;
    option.type = LinkPropertyType::kUInt32;
    option.number = kStartPinOptionNoPinOnInstall;
    spec.properties.push_back(option);
  }
  return spec;
}

bool CreateShellLink(Platform& platform, int osIndex, const cc::Str& linkPath, const cc::Str& target,
                     const LinkFields& fields) {
  bool url = linkPath.EndsWith(u".url", true);
  if (url || linkPath.EndsWith(u".website", true)) {
    std::string bytes = WebLinkText(target, !url).ToBytes(cc::kCodePageAnsi);
    return WriteFileBytes(*platform.files, linkPath, bytes, cc::kCodePageAnsi, false, false);
  }
  if (!fields.working_folder.IsEmpty() && !FolderExists(*platform.files, fields.working_folder)) {
    MakeFolder(*platform.files, fields.working_folder);
  }
  return platform.shell->CreateLink(MakeShellLinkSpec(linkPath, target, fields, osIndex));
}
