// Files and folders as the engines see them: find, attributes, delete,
// create and remove folders, open/read/write in blocks, flush, times,
// enumerate a folder, copy. Paths are Windows paths (backslashes or forward
// slashes, drive letters, letter case ignored). platform/win32 maps each call
// onto its Win32 counterpart; platform/fake keeps a file system in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/str.h"
#include "platform/os_error.h"

// File attributes, numbered as Windows numbers them.
inline constexpr uint32_t kFileAttributeReadOnly = 0x1;
inline constexpr uint32_t kFileAttributeHidden = 0x2;
inline constexpr uint32_t kFileAttributeSystem = 0x4;
inline constexpr uint32_t kFileAttributeDirectory = 0x10;
inline constexpr uint32_t kFileAttributeArchive = 0x20;
inline constexpr uint32_t kFileAttributeNormal = 0x80;
inline constexpr uint32_t kFileAttributeReparsePoint = 0x400;
// What GetAttributes returns for a path that does not exist.
inline constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

// File times in 100-nanosecond units since 1601-01-01 UTC (FILETIME as one
// 64-bit number). In SetTimes a zero member leaves that time unchanged.
struct FileTimes {
  uint64_t creation = 0;
  uint64_t last_access = 0;
  uint64_t last_write = 0;
};

// One entry of a search or a folder listing.
struct FoundFile {
  cc::Str name;             // the name as stored on disk (no folder part)
  uint32_t attributes = 0;  // kFileAttribute* bits
  uint64_t size = 0;        // bytes; 0 for folders
  uint64_t last_write = 0;  // UTC file time
};

enum class OpenMode {
  kRead,         // an existing file, for reading
  kCreate,       // a new empty file for writing, replacing an existing one
  kCreateToRename,  // as kCreate, and RenameTo may name it while it is open; until it
                    // is closed others can open it only if they share its deletion
  kOpenAlways,   // for writing, created when missing; positioned at the start
};

enum class SeekFrom { kBegin, kCurrent, kEnd };

// An open file; closed when the object is destroyed.
class File {
 public:
  virtual ~File() = default;
  // Reads up to `size` bytes at the current position. Returns the number of
  // bytes read (0 at the end of the file), or -1 when reading fails.
  virtual int Read(void* buffer, int size) = 0;
  // Writes all `size` bytes at the current position. False when the file is
  // not open for writing or not every byte could be written.
  virtual bool Write(const void* data, int size) = 0;
  // Pushes buffered data to the disk. False when the system refuses.
  virtual bool Flush() = 0;
  // The file's size in bytes, or -1 when it cannot be told.
  virtual int64_t Size() = 0;
  // Moves the position. Returns the new position, or -1 on failure.
  virtual int64_t Seek(int64_t offset, SeekFrom from) = 0;
  // Closes the file now. False when closing fails (data may be lost) or the
  // file was closed already; every later call on the object fails.
  virtual bool Close() = 0;
  // Sets the file's times through the open file (see FileTimes); times set
  // after the last write are the ones it keeps.
  virtual bool SetTimes(const FileTimes& times) = 0;
  // Gives the open file the name `target`, a full path in the same folder
  // or on the same volume, and stays open. Only for a file opened with
  // kCreateToRename. Fails when `target` exists (it is never replaced) or
  // the system refuses; the file keeps its name then.
  // Cheaper than closing and moving it: no path of the file is looked up.
  virtual bool RenameTo(const cc::Str& target) = 0;
};

// A failed call also records the system's reason (LastError()).
class FileSystem : public OsErrorSource {
 public:
  virtual ~FileSystem() = default;

  // The first entry that matches `pattern` (the last component may hold the
  // wildcards * and ?). True with `found` filled; false when nothing matches
  // or the path is malformed. A pattern ending in a separator matches nothing.
  // Windows reports "." first for a pattern such as "dir\\*".
  virtual bool FindFirst(const cc::Str& pattern, FoundFile* found) = 0;
  // Every entry of `folder` except "." and "..", in the order the system
  // gives them. False when the folder does not exist or cannot be read.
  virtual bool ListFolder(const cc::Str& folder, std::vector<FoundFile>* entries) = 0;

  // The kFileAttribute* bits, or kInvalidFileAttributes when the path does
  // not exist (a path ending in a separator exists only as a folder).
  virtual uint32_t GetAttributes(const cc::Str& path) = 0;
  // Sets the attributes (0 or kFileAttributeNormal clears them all; the
  // folder bit cannot be changed). False when the path does not exist.
  virtual bool SetAttributes(const cc::Str& path, uint32_t attributes) = 0;

  // Deletes a file. False when it does not exist, is a folder or is read-only.
  virtual bool RemoveFile(const cc::Str& path) = 0;
  // Creates one folder. False when it exists already (as folder or file) or
  // its parent does not exist.
  virtual bool CreateFolder(const cc::Str& path) = 0;
  // Removes an empty folder (a reparse point is removed as a link, its
  // target untouched). False when it does not exist, is not empty or is a file.
  virtual bool RemoveFolder(const cc::Str& path) = 0;

  // Opens a file; null when it cannot be opened (missing for kRead, parent
  // folder missing, a folder, or read-only for the writing modes).
  virtual std::unique_ptr<File> Open(const cc::Str& path, OpenMode mode) = 0;

  // The times of a file or folder; false when it does not exist.
  virtual bool GetTimes(const cc::Str& path, FileTimes* times) = 0;
  // Sets the non-zero members of `times`; false when the path does not exist
  // or the system refuses.
  virtual bool SetTimes(const cc::Str& path, const FileTimes& times) = 0;

  // Copies a file with its attributes and last-write time. False when the
  // source is missing, the target's folder is missing, the target is
  // read-only, or `failIfExists` is set and the target exists.
  virtual bool Copy(const cc::Str& source, const cc::Str& target, bool failIfExists) = 0;

  // Renames the file `source` to `target` on the same volume, in one step:
  // afterwards `target` holds either its old or the whole new content.
  // With `replace` an existing target is replaced. False when the source is
  // missing, the target exists (without `replace`), is read-only or in use.
  virtual bool Move(const cc::Str& source, const cc::Str& target, bool replace) = 0;
};
