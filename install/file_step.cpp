#include "install/file_step.h"

#include "install/copy_pipeline.h"
#include "install/create_folder.h"
#include "install/file_copy.h"
#include "install/file_item.h"
#include "install/full_path.h"
#include "install/install_session.h"
#include "install/page_text.h"
#include "install/status.h"
#include "platform/path_text.h"
#include "platform/progress.h"
#include "runtime/payload_archive.h"
#include "runtime/os_flags.h"
#include "runtime/path_macros.h"
#include "runtime/setup_log.h"

namespace {

const char16_t kLevelIndent[] = u"    ";

int FailFolder(InstallSession& session, const cc::Str& path) {
  session.store.Set(u"Ret.ErrorInfo", ErrorText(session.store, u".s.i.Var.CreateFolderError", path));
  return kFileStepFolderFailed;
}

// Creates the folder `path` of an item; a path that is not full (a macro
// that resolved to nothing, a sub-folder without a root) would make files
// land in the root of the current drive or under the working folder, so it
// fails with the item's own text named. Returns kFileStepOk or
// kFileStepFolderFailed with "Ret.ErrorInfo" set.
int PlaceFolder(InstallSession& session, const cc::Str& path, const cc::Str& itemText, bool record) {
  if (!IsFullPath(path)) {
    session.log.Line(u"Not a full path, nothing created:%s, Item:%s", path, itemText);
    return FailFolder(session, itemText);
  }
  if (!CreateFolder(session, path, record)) return FailFolder(session, path);
  return kFileStepOk;
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

// What one item of the file walk does. Updates `selected` and `os` for a group; sets
// `path` for folders. Returns a negative result when the step must end.
int ActOnItem(InstallSession& session, CopyPipeline& pipeline, int n, const FileItem& item,
              const cc::Str& indent, const cc::Str& parentPath, bool& selected, bool& os,
              cc::Str& path) {
  switch (item.type) {
    case kItemGroup: {
      cc::Str name = session.store.Get(
          cc::Str::Formatted(u"s.f.%d.Item.L%s.1", n, session.store.Get(u"s.c.IniLang").GetBuffer()));
      ShowStatusLine(session.progress(), session.log, indent + cc::Str(u"Group:") + name + cc::Str(u"\r\n"));
      selected = session.store.GetBool(cc::Str::Formatted(u"Ret.Customize.Checked%d", n), false);
      os = selected;
      session.log.Line(u"GROUP, isChecked:%d", selected ? 1 : 0);
      return kFileStepOk;
    }
    case kItemRootFolder:
      path = RootFolderPath(session, item.source);
      return selected && os ? PlaceFolder(session, path, item.source, false) : kFileStepOk;
    case kItemSubFolder:
      path = WithTrailingBackslash(parentPath + item.source);
      return selected && os ? PlaceFolder(session, path, path, true) : kFileStepOk;
    case kItemFile:
      if (!selected || !os || item.source == cc::Str(kNoSource)) return kFileStepOk;
      // A file outside any resolved folder would land wherever the setup
      // happens to run.
      if (!IsFullPath(parentPath)) return FailFolder(session, parentPath + InstalledFileName(item.source));
      return InstallFileItem(session, pipeline, n, item, indent, parentPath);
    default:
      return kFileStepOk;
  }
}

// One level of the walk (see ExtractItems), copying through `pipeline`.
int ExtractLevel(InstallSession& session, CopyPipeline& pipeline, int& counter, const cc::Str& indent,
                 const cc::Str& parentPath, bool selected) {
  const int parentId = counter;
  FileItem item;
  for (int n = counter + 1; ReadFileItem(session.store, n, &item); ++n) {
    if (item.parent < 0 || item.parent != parentId || item.type < 0) return kFileStepOk;
    counter = n;
    bool os = OsTest(item.os_flags, session.os_index, session.is64);
    session.log.Line(u"CurrentId:%d, Checked:%d, Overwrite:%d, check Version&Bit:%d, ParentPath:%s, Item:%s",
            n, item.selection, item.overwrite_mode, os ? 1 : 0, parentPath, item.source);
    cc::Str path = parentPath;
    int result = ActOnItem(session, pipeline, n, item, indent, parentPath, selected, os, path);
    if (result < 0) return result;
    if (item.type == kItemFile) continue;
    result = ExtractLevel(session, pipeline, counter, indent + cc::Str(kLevelIndent), path, selected && os);
    if (result < 0) return result;
    n = counter;
  }
  return kFileStepOk;
}

// The payload entries that one level of the walk will copy, in the order it
// copies them, appended to `entries`: the walk's own choice of items
// without its effects, so that the reader can decode ahead across files. A
// file the walk then keeps or skips costs only the read-ahead.
void PlanLevel(InstallSession& session, int& counter, bool selected, std::vector<int>* entries) {
  const int parentId = counter;
  FileItem item;
  for (int n = counter + 1; ReadFileItem(session.store, n, &item); ++n) {
    if (item.parent < 0 || item.parent != parentId || item.type < 0) return;
    counter = n;
    bool os = OsTest(item.os_flags, session.os_index, session.is64);
    if (item.type == kItemGroup) {
      selected = session.store.GetBool(cc::Str::Formatted(u"Ret.Customize.Checked%d", n), false);
      os = selected;
    }
    if (item.type == kItemFile) {
      int index = -1;
      if (selected && os && item.source != cc::Str(kNoSource) &&
          !session.store.GetBool(cc::Str::Formatted(u"s.f.%d.Item.I", n), false) &&
          FindEntry(session.archive, item.source, true, &index, nullptr) == kPayloadOk) {
        entries->push_back(index);
      }
      continue;
    }
    PlanLevel(session, counter, selected && os, entries);
    n = counter;
  }
}

}  // namespace

int ExtractItems(InstallSession& session, int& counter, const cc::Str& indent,
                 const cc::Str& parentPath, bool selected) {
  std::vector<int> planned;
  if (session.archive != nullptr) {
    int planCounter = counter;
    PlanLevel(session, planCounter, selected, &planned);
  }
  CopyPipeline pipeline(session.archive, std::move(planned),
                        [&session] { session.progress().PumpMessages(); }, &session.timings);
  return ExtractLevel(session, pipeline, counter, indent, parentPath, selected);
}

int RunFileStep(InstallSession& session) {
  int counter = 0;
  return ExtractItems(session, counter, cc::Str(u""), cc::Str(u""), false);
}
