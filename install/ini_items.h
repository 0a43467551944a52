// The project's INI entries: items "s.i.Ini.%d.Item" for n from 0 to
// "s.i.Ini.Count" - 1, each "unused;\tflags;\tfolder;\tfile name;\tsection;\t
// entries", where the entries are lines "key=value" (configuration syntax).
// The folder begins with a folder macro ("<Application Folder>\\conf") or is
// a plain path.
#pragma once

#include <cstdint>

#include "core/str.h"

struct InstallSession;

// Bits of the INI item's flag word above the OS flag word.
inline constexpr uint32_t kIniItemKeepExisting = 0x1000000;
inline constexpr uint32_t kIniItemRecord = 0x2000000;
inline constexpr uint32_t kIniItemCreateFile = 0x4000000;

// The default of the probe read that tells a missing key from a present
// one: no INI line can hold it, and the probe reads it back whole (6 units)
// only when the key is missing.
inline constexpr char16_t kIniMissingProbe[] = u"[\r\n\r\n]";
inline constexpr int kIniProbeBufferChars = 10;

// The folder of an INI item: a leading macro ("<...>", up to its ">")
// replaced by its folder, and the text after it (one "\\" dropped) appended;
// any other text as it stands. Always ends in "\\" unless empty. Empty when
// the field is empty or its macro names no folder.
cc::Str ExpandIniFolder(InstallSession& session, const cc::Str& field);

// Works through every INI item: the OS test; the file is folder + file
// name; a file that does not exist is only made with kIniItemCreateFile;
// the folder is created (not recorded); then each entry in ascending order
// of the keys: with kIniItemKeepExisting a key that is present keeps its
// value; else the entry is written and, with kIniItemRecord and only when
// the file existed before the item, recorded ("IniFile?=", "IniApp?=",
// "Ini?="). A file the item created is not recorded: the uninstall leaves it
// and its entries. Failures are logged and the install goes on.
void WriteIniItems(InstallSession& session);
