#include "install/file_step.h"

#include "install/create_folder.h"
#include "install/file_copy.h"
#include "install/file_item.h"
#include "install/install_session.h"
#include "install/page_text.h"
#include "install/status.h"
#include "platform/path_text.h"
#include "runtime/os_flags.h"
#include "runtime/path_macros.h"
#include "runtime/setup_log.h"

namespace {

const char16_t kLevelIndent[] = u"    ";

int FailFolder(InstallSession& session, const cc::Str& path) {
  session.store.Set(u"Ret.ErrorInfo", ErrorText(session.store, u".s.i.Var.CreateFolderError", path));
  return kFileStepFolderFailed;
}

// The folder of a root-folder item: its macro resolved ("<TempDir>", or a
// macro followed by a relative path).
cc::Str RootFolderPath(InstallSession& session, const cc::Str& source) {
  int cut = source.IndexOf(u'\\');
  if (cut < 0 || cut == source.GetLength() - 1) {
    return ExpandDirMacro(source.Substring(0, cut < 0 ? source.GetLength() : cut), session.store,
                          session.platform);
  }
  return WithTrailingBackslash(ExpandMacroPath(source, session.store, session.platform));
}

// Step 3 for one item. Updates `selected` and `os` for a group; sets
// `path` for folders. Returns a negative result when the step must end.
int ActOnItem(InstallSession& session, int n, const FileItem& item, const cc::Str& indent,
              const cc::Str& parentPath, bool& selected, bool& os, cc::Str& path) {
  switch (item.type) {
    case kItemGroup: {
      cc::Str name = session.store.Get(
          cc::Str::Formatted(u"s.f.%d.Item.L%s.1", n, session.store.Get(u"s.c.IniLang").GetBuffer()));
      ShowStatusLine(session.progress(), indent + cc::Str(u"Group:") + name + cc::Str(u"\r\n"));
      selected = session.store.GetBool(cc::Str::Formatted(u"Ret.Customize.Checked%d", n), false);
      os = selected;
      LogLine(u"GROUP, isChecked:%d", selected ? 1 : 0);
      return kFileStepOk;
    }
    case kItemRootFolder:
      path = RootFolderPath(session, item.source);
      if (selected && os && !CreateFolder(session, path, false)) return FailFolder(session, path);
      return kFileStepOk;
    case kItemSubFolder:
      path = WithTrailingBackslash(parentPath + item.source);
      if (selected && os && !CreateFolder(session, path, true)) return FailFolder(session, path);
      return kFileStepOk;
    case kItemFile:
      if (!selected || !os || item.source == cc::Str(kNoSource)) return kFileStepOk;
      return InstallFileItem(session, n, item, indent, parentPath);
    default:
      return kFileStepOk;
  }
}

}  // namespace

int ExtractItems(InstallSession& session, int& counter, const cc::Str& indent,
                 const cc::Str& parentPath, bool selected) {
  const int parentId = counter;
  FileItem item;
  for (int n = counter + 1; ReadFileItem(session.store, n, &item); ++n) {
    if (item.parent < 0 || item.parent != parentId || item.type < 0) return kFileStepOk;
    counter = n;
    bool os = OsTest(item.os_flags, session.os_index, session.is64);
    LogLine(u"CurrentId:%d, Checked:%d, Overwrite:%d, check Version&Bit:%d, ParentPath:%s, Item:%s",
            n, item.selection, item.overwrite_mode, os ? 1 : 0, parentPath, item.source);
    cc::Str path = parentPath;
    int result = ActOnItem(session, n, item, indent, parentPath, selected, os, path);
    if (result < 0) return result;
    if (item.type == kItemFile) continue;
    result = ExtractItems(session, counter, indent + cc::Str(kLevelIndent), path, selected && os);
    if (result < 0) return result;
    n = counter;
  }
  return kFileStepOk;
}

int RunFileStep(InstallSession& session) {
  int counter = 0;
  return ExtractItems(session, counter, cc::Str(u""), cc::Str(u""), false);
}
