// The project's registry values: items "s.i.Reg.%d.Item" for n from 0 to
// "s.i.Reg.Count" - 1, each "root;\tflags;\tkey path;\tvalues", where the
// values are lines "name=value" (in the configuration syntax, so a line
// break inside the configuration file is the escape "\n").
//
// Root index: 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE,
// any other non-negative value HKEY_USERS. A negative index is refused: the
// uninstaller skips such record lines, so the values could never be removed.
//
// Value forms (prefix in any letter case): "dword:" + decimal number (the
// low 32 bits are stored, so 4294967295 and -1 are both 0xFFFFFFFF; digits
// end at the first other character, so "dword:0xFF" stores 0); "hex:" +
// decimal numbers separated by "," each giving one byte (its low 8 bits;
// "hex:ff" is one byte 00, "hex:" alone no bytes); anything else is a REG_SZ
// of the text as it stands.
//
// Existing values: a value is written when it is missing or holds empty
// data (an empty string, or no bytes); a value that holds data is kept, so
// an install never destroys what the user or an earlier version stored.
// A project that wants its data to replace existing data sets the flag
// kRegItemReplace on the item.
#pragma once

#include <cstdint>
#include <string>

#include "core/str.h"

struct InstallSession;
class RegistryKey;

// Bits of the registry item's flag word above the OS flag word.
inline constexpr uint32_t kRegItemWrite = 0x1000000;
inline constexpr uint32_t kRegItemRecord = 0x2000000;
inline constexpr uint32_t kRegItemReplace = 0x4000000;

// A value text turned into its registry type and data bytes.
struct RegistryItemValue {
  uint32_t type = 0;
  std::string data;
};
RegistryItemValue ParseRegistryItemValue(const cc::Str& text);

// Whether a value may be written under `key` given the item's flags: it is
// missing, its data is empty, or the item asks to replace data.
bool MayWriteRegistryValue(RegistryKey& key, const cc::Str& name, uint32_t flags);

// Works through every registry item: the OS test of its flag word, the key
// opened with full access (created when missing; an item whose key can be
// neither opened nor created is skipped and recorded nowhere), then each
// value in ascending order of the names (a name given twice keeps its last
// value): written with kRegItemWrite, recorded ("RegRoot?=", "RegDir?=",
// "Reg?=") with kRegItemRecord whether or not it was written. Failures are
// logged and the install goes on.
void WriteRegistryItems(InstallSession& session);
