#include "wizard/location_path.h"

#include "runtime/lang_text.h"
#include "wizard/component_choice.h"

namespace wizard {

namespace {

bool EndsInProgramFiles(const cc::Str& folder) {
  return folder.EndsWith(u":\\Program Files\\") || folder.EndsWith(u":\\Program Files (x86)\\");
}

bool HasRefusedCharacter(const cc::Str& path) {
  for (int i = 0; i < path.GetLength(); ++i) {
    char16_t c = path[i];
    if (c < 0x20) return true;
    switch (c) {
      case u'*': case u'?': case u'|': case u'<': case u'>': case u'"':
        return true;
      default:
        break;
    }
  }
  return false;
}

cc::Str WithBackslash(const cc::Str& folder) {
  cc::Str result = folder;
  if (!result.EndsWith(u"\\")) result.Append(u'\\');
  return result;
}

}  // namespace

cc::Str ApplicationSuffix(const cc::KeyArr& config, const cc::Str& langCode) {
  cc::Str suffix = GetLangTextOr(config, langCode, u".s.c.Var.AppName", u"");
  suffix.Append(u' ');
  suffix.Append(GetLangTextOr(config, langCode, u".s.c.Var.AppVersion", u""));
  suffix.Append(u'\\');
  return suffix;
}

cc::Str CompleteFolder(const cc::Str& folder, const cc::Str& suffix) {
  cc::Str result = WithBackslash(folder);
  if (EndsInProgramFiles(result)) result.Append(suffix);
  return result;
}

cc::Str ProposedFolder(const cc::KeyArr& config, const cc::Str& suffix) {
  cc::Str dir = config.Get(u"Ret.Dir.App");
  return CompleteFolder(dir.IsNull() ? cc::Str(u"") : dir, suffix);
}

CheckedLocation CheckLocation(const cc::Str& typed, const cc::Str& suffix) {
  CheckedLocation result;
  cc::Str path = typed.IsNull() ? cc::Str(u"") : typed;
  path.Trim();
  if (path.IsEmpty()) {
    result.error = LocationError::kEmpty;
    return result;
  }
  path.Replace(u"/", u"\\");
  if (path.IndexOf(u":\\") != 1 || path.LastIndexOf(u':') != 1) {
    result.error = LocationError::kFormat;
    return result;
  }
  if (HasRefusedCharacter(path)) {
    result.error = LocationError::kCharacters;
    return result;
  }
  result.path = CompleteFolder(path, suffix);
  return result;
}

cc::Str TextAfterBrowse(const cc::Str& typed, const cc::Str& picked, const cc::Str& suffix) {
  if (picked.IsNull() || picked.GetLength() < 3) return typed;
  cc::Str folder = WithBackslash(picked);
  if (!folder.EndsWith(suffix)) folder.Append(suffix);
  return folder;
}

void StoreLocation(cc::KeyArr& config, uint32_t pageFlags, const cc::Str& path, bool allUsers) {
  config.Set(u"Ret.Location.Path", path);
  if (pageFlags & kLocationAskAllUsers) config.SetBool(u"Ret.Location.AllUser", allUsers);
}

cc::Str SpaceRoot(const cc::Str& typed) {
  cc::Str path = typed.IsNull() ? cc::Str(u"") : typed;
  path.Trim();
  if (path.GetLength() < 3 || path[1] != u':') return u"C:\\";
  if (path[2] != u'\\' && path[2] != u'/') return u"C:\\";
  cc::Str root = path.Substring(0, 2);
  root.Append(u'\\');
  return root;
}

namespace {
const char16_t kRequiredPlaceholder[] = u"[#SpaceRequired#]";
const char16_t kAvailablePlaceholder[] = u"[#SpaceAvaliable#]";
}  // namespace

bool SpaceTemplateHasPlaceholders(const cc::Str& templ) {
  if (templ.IsNull()) return false;
  return templ.IndexOf(kRequiredPlaceholder) >= 0 || templ.IndexOf(kAvailablePlaceholder) >= 0;
}

cc::Str SpaceText(const cc::Str& templ, int64_t requiredBytes, int64_t freeBytes) {
  cc::Str text = templ.IsNull() ? cc::Str(u"") : templ;
  text.Replace(kRequiredPlaceholder, FormatSize(requiredBytes));
  text.Replace(kAvailablePlaceholder, FormatSize(freeBytes));
  return text;
}

}  // namespace wizard
