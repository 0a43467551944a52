// One file item "s.f.%d.Item" of the project: its fields (separated by ";"
// followed by a tab), its time stamp and the name it is installed under.
#pragma once

#include <cstdint>

#include "core/key_arr.h"
#include "core/str.h"

// Item types (field 2); any other value is a container without an action.
inline constexpr int kItemGroup = 2;
inline constexpr int kItemRootFolder = 3;
inline constexpr int kItemSubFolder = 4;
inline constexpr int kItemFile = 5;

// Uninstall modes (field 5): not recorded, recorded as shared; anything
// else is recorded as a normal file.
inline constexpr int kUninstallKeep = 1;
inline constexpr int kUninstallShared = 2;

// The source name of a file item without a payload entry.
inline constexpr char16_t kNoSource[] = u"<None>";

struct FileItem {
  int parent = 0;          // field 1
  int type = 0;            // field 2
  uint32_t os_flags = 0;   // field 3
  int overwrite_mode = 0;  // field 4
  int uninstall_mode = 0;  // field 5
  int selection = 0;       // field 6, logged only
  cc::Str source;          // field 8: the rest after the seventh separator
};

// Reads item `n`. False when "s.f.%d.Item" does not exist. Missing fields
// read as 0 and an empty source.
bool ReadFileItem(const cc::KeyArr& store, int n, FileItem* item);

// The item's time stamp "s.f.%d.Item.Time" (high, then low 32 bits, each a
// signed decimal whose 32 bits are used) as one file time; 0 when missing.
uint64_t ReadItemTime(const cc::KeyArr& store, int n);

// The file name a source installs under: its last path component with
// everything up to and including the first "*" removed, and a final ".link"
// (any letter case) turned into ".url".
cc::Str InstalledFileName(const cc::Str& source);
