#include "wizard/finish_actions.h"

#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "runtime/path_macros.h"

namespace wizard {

namespace {

bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// A drive letter with ":\\", or a UNC path "\\\\server\\...".
bool IsFullPath(const cc::Str& path) {
  if (path.GetLength() >= 3 && IsAsciiLetter(path[0]) && path[1] == u':' && path[2] == u'\\') return true;
  return path.GetLength() > 2 && path[0] == u'\\' && path[1] == u'\\' && path[2] != u'\\';
}

bool IsMacro(const cc::Str& component) {
  return component.GetLength() > 2 && component.StartsWith(u"<") && component.EndsWith(u">");
}

}  // namespace

cc::Str ResolveFinishPath(const cc::Str& value, cc::KeyArr& config, Platform& platform) {
  if (value.IsEmpty()) return cc::Str(u"");
  int cut = value.IndexOf(u'\\');
  cc::Str first = cut < 0 ? value : value.Substring(0, cut);
  if (!IsMacro(first)) return IsFullPath(value) ? value : cc::Str(u"");
  cc::Str folder = ExpandDirMacro(first, config, platform);  // ends in "\\"
  if (!IsFullPath(folder)) return cc::Str(u"");
  return cut < 0 ? folder : folder + value.Substring(cut + 1);
}

cc::Str FillScriptText(const cc::Str& text, const cc::Str& folder) {
  cc::Str filled = text;
  filled.Replace(u"[#TARGETDIR#]", folder);
  cc::Str drive = folder.IsEmpty() ? cc::Str(u"") : folder.Substring(0, 1);
  filled.Replace(u"[#TARGETDRIVER#]", drive);
  return filled;
}

ScriptPlan PlanScript(int kind, const cc::Str& folder) {
  ScriptPlan plan;
  plan.file = folder + cc::Str(kind == kScriptVbs ? u"~~unins.vbs" : u"~~unins.bat");
  plan.commandLine = kind == kScriptVbs ? cc::Str(u"cscript //NOLOGO ") + plan.file : plan.file;
  return plan;
}

bool WriteScriptFile(Platform& platform, const cc::Str& file, const cc::Str& text) {
  std::string bytes = text.ToBytes(0);
  return WriteFileBytes(*platform.files, file, bytes, 0, false, false);
}

}  // namespace wizard
