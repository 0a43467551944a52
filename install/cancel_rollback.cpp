#include "install/cancel_rollback.h"

#include <string>
#include <string_view>

#include "install/uninstall_record.h"
#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "runtime/setup_log.h"

namespace {

// The status line CreateFolder announces a missing folder with.
constexpr std::u16string_view kCreateFolderLine = u"Create folder:";

cc::Str WithoutTrailingSeparator(cc::Str path) {
  while (path.GetLength() > 3 && (path.EndsWith(u"\\") || path.EndsWith(u"/"))) {
    path = path.Substring(0, path.GetLength() - 1);
  }
  return path;
}

bool SamePath(const cc::Str& a, const cc::Str& b) { return a.Equals(b, true); }

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

void RemoveNewFile(FileSystem& files, const cc::Str& path, RollbackResult* result) {
  if (!FileExists(files, path)) return;
  if (DeleteFileForced(files, path)) {
    ++result->files_removed;
    LogLine(u"Cancel, removed file:%s", path);
  } else {
    result->left.push_back(path);
    LogLine(u"Cancel, file left:%s", path);
  }
}

// The files of the record's "File?=" groups that the run wrote where no
// file was before: "FileOver?=0" and not kept ("FileUnins?=1").
void RemoveNewFiles(FileSystem& files, const std::vector<RecordLine>& lines, RollbackResult* result) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].key != "File?") continue;
    std::string over = i + 1 < lines.size() && lines[i + 1].key == "FileOver?" ? lines[i + 1].value : "";
    std::string unins = i + 2 < lines.size() && lines[i + 2].key == "FileUnins?" ? lines[i + 2].value : "";
    if (over == "0" && unins != "1") RemoveNewFile(files, cc::Str::FromUtf8(lines[i].value), result);
  }
}

void RemoveCreatedFolders(FileSystem& files, const std::vector<cc::Str>& folders, RollbackResult* result) {
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
    if (!FolderExists(files, *it)) continue;
    if (files.RemoveFolder(*it)) {
      ++result->folders_removed;
      LogLine(u"Cancel, removed folder:%s", *it);
    } else {
      result->left.push_back(*it);
      LogLine(u"Cancel, folder left:%s", *it);
    }
  }
}

}  // namespace

void FolderCreationWatch::AddStatusLine(const cc::Str& line) {
  if (line.View().substr(0, kCreateFolderLine.size()) == kCreateFolderLine) {
    cc::Str folder = line.Substring(static_cast<int>(kCreateFolderLine.size()));
    if (folder.EndsWith(u"\r\n")) folder = folder.Substring(0, folder.GetLength() - 2);
    Note(WithoutTrailingSeparator(folder));
  }
  inner_.AddStatusLine(line);
}

// Notes `folder` and its missing parents, outermost first.
void FolderCreationWatch::Note(const cc::Str& folder) {
  std::vector<cc::Str> missing;
  for (cc::Str f = folder; !f.IsEmpty() && !FolderExists(files_, f);) {
    missing.push_back(f);
    int cut = f.LastIndexOf(u'\\');
    if (cut <= 2) break;  // a drive root or a bare name
    f = f.Substring(0, cut);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    bool known = false;
    for (const cc::Str& c : created_) known = known || SamePath(c, *it);
    if (!known) created_.push_back(*it);
  }
}

RollbackResult RollBackCanceledRun(FileSystem& files, const RecordText& record,
                                   const std::vector<cc::Str>& createdFolders) {
  RollbackResult result;
  std::vector<RecordLine> lines = SplitRecord(record.Utf8());
  RemoveNewFiles(files, lines, &result);
  RemoveCreatedFolders(files, createdFolders, &result);
  for (const RecordLine& line : lines) {
    if (IsHeaderOrFileGroupLine(line.key)) continue;
    cc::Str text = cc::Str::FromUtf8(line.key + "=" + line.value);
    result.left.push_back(text);
    LogLine(u"Cancel, record line left alone:%s", text);
  }
  return result;
}
