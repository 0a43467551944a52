#include "platform/file_helpers.h"

#include <algorithm>
#include <new>
#include <vector>

#include "platform/file_name_case.h"
#include "platform/file_system.h"
#include "platform/module_resources.h"
#include "platform/platform.h"
#include "platform/system_info.h"

namespace {

// Reads and writes go through the seam in blocks of this size.
constexpr int kBlockSize = 1 << 20;
// A buffer for a whole file must stay addressable by the 32-bit program.
constexpr int64_t kMaxWholeFile = 0x7FFFFFF0;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool EndsWithSeparator(const cc::Str& path) {
  return path.GetLength() > 0 && IsSeparator(path[path.GetLength() - 1]);
}

// The text after the last separator or drive colon.
std::u16string_view LastComponent(const cc::Str& path) {
  std::u16string_view view = path.View();
  size_t cut = view.find_last_of(u"\\/:");
  return cut == std::u16string_view::npos ? view : view.substr(cut + 1);
}

cc::Str WithoutTrailingSeparators(const cc::Str& path) {
  int end = path.GetLength();
  while (end > 0 && IsSeparator(path[end - 1])) --end;
  return path.Substring(0, end);
}

// "C:" or "\\server": where climbing a folder path ends; never made by us.
bool IsVolumeName(std::u16string_view folder) {
  if (folder.size() == 2 && folder[1] == u':') return true;
  return folder.substr(0, 2) == u"\\\\" && folder.find_first_of(u"\\/", 2) == std::u16string_view::npos;
}

bool IsFolderAttributes(uint32_t attributes) {
  return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory);
}

bool WriteAll(File& file, std::string_view bytes) {
  while (!bytes.empty()) {
    int chunk = static_cast<int>(std::min<size_t>(bytes.size(), kBlockSize));
    if (!file.Write(bytes.data(), chunk)) return false;
    bytes.remove_prefix(chunk);
  }
  return true;
}

// Reads up to `want` bytes (fewer when the file ends first); false on error.
bool ReadUpTo(File& file, int64_t want, std::string* out) {
  std::string buffer(static_cast<size_t>(want), '\0');
  int64_t got = 0;
  while (got < want) {
    int chunk = static_cast<int>(std::min<int64_t>(want - got, kBlockSize));
    int n = file.Read(buffer.data() + got, chunk);
    if (n < 0) return false;
    if (n == 0) break;
    got += n;
  }
  buffer.resize(static_cast<size_t>(got));
  *out = std::move(buffer);
  return true;
}

bool StartsWithBytes(std::string_view bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() && bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool FileExists(FileSystem& files, const cc::Str& path) {
  if (path.IsEmpty() || EndsWithSeparator(path)) return false;
  FoundFile found;
  if (!files.FindFirst(path, &found)) return false;
  if (found.attributes & kFileAttributeDirectory) return false;
  return SameFileName(found.name.View(), LastComponent(path));
}

bool FolderExists(FileSystem& files, const cc::Str& path) {
  if (path.IsEmpty()) return false;
  cc::Str folder = path;
  if (!EndsWithSeparator(folder)) folder.Append(u'\\');
  return IsFolderAttributes(files.GetAttributes(folder));
}

bool DeleteFileForced(FileSystem& files, const cc::Str& path) {
  uint32_t attributes = files.GetAttributes(path);
  if (attributes == kInvalidFileAttributes || (attributes & kFileAttributeDirectory)) return false;
  files.SetAttributes(path, kFileAttributeNormal);
  if (files.RemoveFile(path)) return true;
  files.SetAttributes(path, attributes);  // a file that stays keeps its protection
  return false;
}

bool DeleteFolderTree(FileSystem& files, const cc::Str& path, bool recursive) {
  cc::Str folder = WithoutTrailingSeparators(path);
  if (folder.IsEmpty()) return false;
  uint32_t attributes = files.GetAttributes(folder);
  if (attributes != kInvalidFileAttributes && (attributes & kFileAttributeReparsePoint)) {
    return files.RemoveFolder(folder);  // a link: its target is not ours to empty
  }
  if (recursive) {
    std::vector<FoundFile> entries;
    if (!files.ListFolder(folder, &entries)) return false;
    for (const FoundFile& entry : entries) {
      cc::Str child = folder + cc::Str(u"\\") + entry.name;
      bool ok;
      if (!(entry.attributes & kFileAttributeDirectory)) {
        ok = DeleteFileForced(files, child);
      } else if (entry.attributes & kFileAttributeReparsePoint) {
        // A junction or folder link: its target lies outside this tree.
        ok = files.RemoveFolder(child);
      } else {
        ok = DeleteFolderTree(files, child, true);
      }
      if (!ok) return false;
    }
  }
  return files.RemoveFolder(folder);
}

bool MakeFolder(FileSystem& files, const cc::Str& path) {
  if (path.IsEmpty()) return false;
  if (FolderExists(files, path)) return true;
  return files.CreateFolder(path) || FolderExists(files, path);
}

bool MakeFolderTree(FileSystem& files, const cc::Str& path) {
  cc::Str folder = WithoutTrailingSeparators(path);
  if (folder.IsEmpty()) return false;
  if (FolderExists(files, folder)) return true;
  std::u16string_view view = folder.View();
  size_t cut = view.find_last_of(u"\\/");
  if (cut != std::u16string_view::npos && cut > 0) {
    cc::Str parent = folder.Substring(0, static_cast<int>(cut));
    if (!FolderExists(files, parent) && !MakeFolderTree(files, parent)) return false;
  }
  return files.CreateFolder(folder) || FolderExists(files, folder);
}

std::vector<cc::Str> MissingFolders(FileSystem& files, const cc::Str& path) {
  std::vector<cc::Str> missing;
  cc::Str folder = WithoutTrailingSeparators(path);
  while (!folder.IsEmpty() && !IsVolumeName(folder.View()) && !FolderExists(files, folder)) {
    missing.insert(missing.begin(), folder);
    size_t cut = folder.View().find_last_of(u"\\/");
    if (cut == std::u16string_view::npos) break;
    folder = WithoutTrailingSeparators(folder.Substring(0, static_cast<int>(cut)));
  }
  return missing;
}

bool CopyFileTo(FileSystem& files, const cc::Str& source, const cc::Str& target,
                bool failIfExists) {
  return files.Copy(source, target, failIfExists);
}

int64_t ReadWholeFile(FileSystem& files, const cc::Str& path, std::string* bytes,
                      uint32_t maxBytes) {
  std::unique_ptr<File> file = files.Open(path, OpenMode::kRead);
  if (!file) return -1;
  int64_t want = file->Size();
  if (want < 0) return -1;
  if (maxBytes != 0) want = std::min<int64_t>(want, maxBytes);
  if (want > kMaxWholeFile) return -1;
  try {
    std::string read;
    if (!ReadUpTo(*file, want, &read)) return -1;
    *bytes = std::move(read);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return static_cast<int64_t>(bytes->size());
}

std::string_view ByteOrderMark(int codePage) {
  switch (codePage) {
    case cc::kCodePageUtf8:
      return std::string_view("\xEF\xBB\xBF", 3);
    case cc::kCodePageUtf16LE:
      return std::string_view("\xFF\xFE", 2);
    case cc::kCodePageUtf16BE:
      return std::string_view("\xFE\xFF", 2);
    default:
      return std::string_view();
  }
}

cc::Str DecodeText(std::string_view bytes, int codePage) {
  for (int marked : {cc::kCodePageUtf8, cc::kCodePageUtf16LE, cc::kCodePageUtf16BE}) {
    std::string_view mark = ByteOrderMark(marked);
    if (StartsWithBytes(bytes, mark)) {
      bytes.remove_prefix(mark.size());
      codePage = marked;
      break;
    }
  }
  const char* data = bytes.data() ? bytes.data() : "";
  return cc::Str::FromBytes(data, static_cast<int>(bytes.size()), codePage);
}

int64_t ReadTextFile(FileSystem& files, const cc::Str& path, int codePage, cc::Str* text,
                     uint32_t maxBytes) {
  std::string bytes;
  int64_t length = ReadWholeFile(files, path, &bytes, maxBytes);
  if (length < 0) return -1;
  *text = DecodeText(bytes, codePage);
  return length;
}

bool WriteFileBytes(FileSystem& files, const cc::Str& path, std::string_view bytes, int codePage,
                    bool append, bool withMark) {
  std::unique_ptr<File> file;
  bool empty = true;
  if (append) {
    file = files.Open(path, OpenMode::kOpenAlways);
    if (!file) return false;
    int64_t size = file->Size();
    if (size < 0 || file->Seek(0, SeekFrom::kEnd) < 0) return false;
    empty = size == 0;
  } else {
    uint32_t attributes = files.GetAttributes(path);
    if (attributes != kInvalidFileAttributes && !DeleteFileForced(files, path)) return false;
    file = files.Open(path, OpenMode::kCreate);
    if (!file) return false;
  }
  if (withMark && empty && !WriteAll(*file, ByteOrderMark(codePage))) return false;
  if (!WriteAll(*file, bytes)) return false;
  bool flushed = file->Flush();
  return file->Close() && flushed;
}

bool WriteTextFile(FileSystem& files, const cc::Str& text, const cc::Str& path, bool append) {
  int codePage = text.GetCodePage();
  std::string bytes = text.ToBytes(codePage);
  return WriteFileBytes(files, path, bytes, codePage, append, true);
}

uint64_t GetFileWriteTime(const Platform& platform, const cc::Str& path, bool local) {
  FileTimes times;
  if (!platform.files->GetTimes(path, &times)) return 0;
  return local ? platform.system->ToLocalFileTime(times.last_write) : times.last_write;
}

int CompareFileTimes(uint64_t a, uint64_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

int64_t ReadTextResource(ModuleResources& resources, int id, const cc::Str& type, int codePage,
                         cc::Str* text) {
  std::string bytes;
  if (!resources.Read(type, id, &bytes)) return -1;
  *text = DecodeText(bytes, codePage);
  return static_cast<int64_t>(bytes.size());
}
