#include "install/cancel_rollback.h"

#include <string>
#include <string_view>

#include "install/file_copy.h"
#include "install/uninstall_record.h"
#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "runtime/setup_log.h"

namespace {

// The status line CreateFolder announces a missing folder with.
constexpr std::u16string_view kCreateFolderLine = u"Create folder:";

bool SamePath(const cc::Str& a, const cc::Str& b) { return a.Equals(b, true); }

// A path with its letter case folded, to compare paths as Windows does.
std::u16string PathKey(const cc::Str& path) {
  std::u16string key(path.View());
  for (char16_t& c : key) c = cc::FoldAscii(c);
  return key;
}

// One line of the record text: key (without "=") and value.
struct RecordLine {
  std::string key;
  std::string value;
};

std::vector<RecordLine> SplitRecord(const std::string& text) {
  std::vector<RecordLine> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    size_t equals = line.find('=');
    if (equals != std::string_view::npos) {
      lines.push_back({std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))});
    }
    start = end + 2;
  }
  return lines;
}

// Lines every run starts with or that describe nothing on disk by themselves.
bool IsHeaderOrFileGroupLine(const std::string& key) {
  return key == "AppDir" || key == "AppName" || key == "Dir?" || key == "File?" ||
         key == "FileOver?" || key == "FileUnins?";
}

void RemoveNewFile(FileSystem& files, SetupLog& log, const cc::Str& path, RollbackResult* result) {
  if (!FileExists(files, path)) return;
  if (DeleteFileForced(files, path)) {
    ++result->files_removed;
    log.Line(u"Rollback, removed file:%s", path);
  } else {
    result->left.push_back(path);
    log.Line(u"Rollback, file left:%s", path);
  }
}

bool Contains(const std::vector<cc::Str>& paths, const cc::Str& path) {
  for (const cc::Str& p : paths) {
    if (SamePath(p, path)) return true;
  }
  return false;
}

// A full path: a drive letter, a colon and a separator, or "\\server\...".
bool LooksLikeFullPath(const cc::Str& text) {
  if (text.GetLength() >= 3 && text[1] == u':' && text[2] == u'\\') return true;
  return text.StartsWith(u"\\\\");
}

// The files of the run that no file stood at before it: the record's
// "File?=" groups with "FileOver?=0" that were not kept ("FileUnins?=1"),
// and the files the status lines named that the record leaves out (those
// that stay at uninstall); a file the footprint saw there when the run
// named it is never one of them.
std::vector<cc::Str> NewFiles(const std::vector<RecordLine>& lines, const RunFootprint& footprint) {
  std::vector<cc::Str> recorded, fresh;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].key != "File?") continue;
    cc::Str path = cc::Str::FromUtf8(lines[i].value);
    recorded.push_back(path);
    std::string over = i + 1 < lines.size() && lines[i + 1].key == "FileOver?" ? lines[i + 1].value : "";
    std::string unins = i + 2 < lines.size() && lines[i + 2].key == "FileUnins?" ? lines[i + 2].value : "";
    bool missing = !footprint.WasNamed(path) || footprint.WasMissingWhenNamed(path);
    if (over == "0" && unins != "1" && missing) fresh.push_back(path);
  }
  for (const cc::Str& path : footprint.NamedFiles()) {
    if (!Contains(recorded, path) && footprint.WasMissingWhenNamed(path)) fresh.push_back(path);
  }
  return fresh;
}

void RemoveCreatedFolders(FileSystem& files, SetupLog& log, const std::vector<cc::Str>& folders,
                          RollbackResult* result) {
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
    if (!FolderExists(files, *it)) continue;
    if (files.RemoveFolder(*it)) {
      ++result->folders_removed;
      log.Line(u"Rollback, removed folder:%s", *it);
    } else {
      result->left.push_back(*it);
      log.Line(u"Rollback, folder left:%s", *it);
    }
  }
}

}  // namespace

void RunFootprint::SetDetail(const cc::Str& text) {
  // The copy shows the file's path again before each block, with its
  // percentage: that names no new file, and looking it up would cost a
  // file-system lookup per block.
  if (LooksLikeFullPath(text) && !IsCopyProgressText(lastSighted_, text)) {
    sighted_[PathKey(text)] = FileExists(files_, text);
    lastSighted_ = text;
  }
  inner_.SetDetail(text);
}

bool RunFootprint::WasNamed(const cc::Str& path) const { return sighted_.count(PathKey(path)) > 0; }

bool RunFootprint::WasMissingWhenNamed(const cc::Str& path) const {
  auto it = sighted_.find(PathKey(path));
  return it != sighted_.end() && !it->second;
}

void RunFootprint::AddStatusLine(const cc::Str& line) {
  cc::Str text = line;
  if (text.EndsWith(u"\r\n")) text = text.Substring(0, text.GetLength() - 2);
  if (text.View().substr(0, kCreateFolderLine.size()) == kCreateFolderLine) {
    NoteFolder(text.Substring(static_cast<int>(kCreateFolderLine.size())));
  } else {
    // A file's line: its path after the indentation of its level.
    text.Trim();
    if (LooksLikeFullPath(text) && !text.EndsWith(u"\\") && namedKeys_.insert(PathKey(text)).second) {
      named_.push_back(text);
    }
  }
  inner_.AddStatusLine(line);
}

// Notes `folder` and its missing parents, outermost first.
void RunFootprint::NoteFolder(const cc::Str& folder) {
  for (const cc::Str& missing : MissingFolders(files_, folder)) {
    bool known = false;
    for (const cc::Str& c : created_) known = known || SamePath(c, missing);
    if (!known) created_.push_back(missing);
  }
}

RollbackResult RollBackStoppedRun(FileSystem& files, SetupLog& log, const RecordText& record,
                                   const RunFootprint& footprint) {
  RollbackResult result;
  std::vector<RecordLine> lines = SplitRecord(record.Utf8());
  for (const cc::Str& path : NewFiles(lines, footprint)) RemoveNewFile(files, log, path, &result);
  RemoveCreatedFolders(files, log, footprint.CreatedFolders(), &result);
  for (const RecordLine& line : lines) {
    if (IsHeaderOrFileGroupLine(line.key)) continue;
    cc::Str text = cc::Str::FromUtf8(line.key + "=" + line.value);
    result.left.push_back(text);
    log.Line(u"Rollback, record line left alone:%s", text);
  }
  return result;
}
