// File operations with the conventions every caller shares: what counts as
// an existing file, forced deletion of read-only files, folder trees,
// byte-order marks on reading and writing text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/str.h"

class FileSystem;
class ModuleResources;
class Platform;

// True when `path` names an existing file (not a folder) whose name as found
// on disk equals the path's last component ignoring letter case, so wildcard
// patterns and short 8.3 aliases do not count. False for an empty path and a
// path ending in "\\" or "/".
bool FileExists(FileSystem& files, const cc::Str& path);

// True when `path` names an existing folder (a trailing separator is
// optional). False for the empty path and for files.
bool FolderExists(FileSystem& files, const cc::Str& path);

// Clears every attribute of the file (so read-only files go too) and deletes
// it. False when it does not exist, is a folder or cannot be deleted.
bool DeleteFileForced(FileSystem& files, const cc::Str& path);

// With `recursive`, deletes every file inside (forced) and every subfolder,
// depth first, stopping at the first failure; then removes the folder
// itself. A linked folder (reparse point), inside or at `path` itself, is
// removed as a link, never entered, so nothing outside the tree is deleted. False at the first
// failure or when the folder does not exist.
bool DeleteFolderTree(FileSystem& files, const cc::Str& path, bool recursive);

// True when the folder exists or was created (its parent must exist).
bool MakeFolder(FileSystem& files, const cc::Str& path);
// True when the folder exists or was created together with its missing
// parents. False when a part of the path is a file or cannot be created.
bool MakeFolderTree(FileSystem& files, const cc::Str& path);
// The folders that making `path` would create: `path` and those of its
// parents that do not exist, outermost first, without trailing separators.
// A drive ("C:") or a server ("\\server") is never among them. Empty when
// `path` exists or is empty.
std::vector<cc::Str> MissingFolders(FileSystem& files, const cc::Str& path);

// Copies a file (attributes and last-write time too). False when the source
// is missing, the target folder is missing, or `failIfExists` is set and the
// target exists.
bool CopyFileTo(FileSystem& files, const cc::Str& source, const cc::Str& target,
                bool failIfExists);

// The file's bytes (at most `maxBytes` when that is non-zero) into `bytes`
// (whose size is the length; a std::string keeps a terminating zero after
// it). Returns the length, or -1 when the file does not exist or cannot be
// read (`bytes` is then left unchanged).
int64_t ReadWholeFile(FileSystem& files, const cc::Str& path, std::string* bytes,
                      uint32_t maxBytes = 0);

// Decodes bytes as text with byte-order-mark detection: FF FE is UTF-16
// little-endian (1200), FE FF UTF-16 big-endian (1201), EF BB BF UTF-8
// (65001); the mark is dropped. Without a mark `codePage` applies. The
// result keeps the code page it was decoded from (UTF-16 of either order
// becomes 1200); a lone last byte of UTF-16 becomes U+FFFD.
cc::Str DecodeText(std::string_view bytes, int codePage);

// Reads the file (at most `maxBytes` when non-zero) and decodes it as
// DecodeText does. Returns the number of bytes read from the file, mark
// included, or -1 when it cannot be read (`text` is then left unchanged).
int64_t ReadTextFile(FileSystem& files, const cc::Str& path, int codePage, cc::Str* text,
                     uint32_t maxBytes = 0);

// The byte-order mark of a code page: UTF-8, UTF-16 little- or big-endian;
// empty for every other code page.
std::string_view ByteOrderMark(int codePage);

// With `append` the file is opened (created when missing) and written at its
// end; without, an existing file is deleted (forced) and a new one created.
// When the file is empty at the start and `withMark` is set, the mark of
// `codePage` is written first. The file is flushed and closed. False when the
// file cannot be opened, written, flushed or closed.
bool WriteFileBytes(FileSystem& files, const cc::Str& path, std::string_view bytes, int codePage,
                    bool append, bool withMark);

// Writes `text` in its own encoding (2 bytes per unit for UTF-16) with its
// byte-order mark when the file starts empty (a code page without a mark,
// such as ANSI, gets none). A null text counts as empty.
bool WriteTextFile(FileSystem& files, const cc::Str& text, const cc::Str& path, bool append);

// The last-write time of a file as a 64-bit file time (local time with
// `local`); 0 when it does not exist. Needs platform.files, and
// platform.system with `local`.
uint64_t GetFileWriteTime(const Platform& platform, const cc::Str& path, bool local);

// -1, 0 or 1 as `a` is earlier than, equal to or later than `b`.
int CompareFileTimes(uint64_t a, uint64_t b);

// A resource of the program (type name `type`, id `id`) decoded as
// DecodeText does. Returns its size in bytes, or -1 when it does not exist
// (`text` is then left unchanged).
int64_t ReadTextResource(ModuleResources& resources, int id, const cc::Str& type, int codePage,
                         cc::Str* text);
