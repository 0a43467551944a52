// The shell as the engines see it: shell links (".lnk" files) with the
// properties of their property store, the verbs the shell offers on a file
// (as its scripting object lists them), ShellExecute(Ex) and change
// notifications.
#pragma once

#include <cstdint>
#include <vector>

#include "core/str.h"

// Show commands of a link, numbered as Windows numbers them.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 7;
inline constexpr int kShowMaximized = 3;

// Show commands for ShellExecute, numbered as Windows numbers them.
inline constexpr int kShowHide = 0;
inline constexpr int kShowMinimize = 6;
inline constexpr int kShowShow = 5;

// One value for a link's property store. The key is the property set's
// format identifier in its registry form ("{9F4C2855-...}") and the
// property number.
enum class LinkPropertyType { kString, kUInt32, kBool };
struct LinkProperty {
  cc::Str format_id;
  uint32_t property_id = 0;
  LinkPropertyType type = LinkPropertyType::kString;
  cc::Str text;         // kString
  uint32_t number = 0;  // kUInt32; kBool: non-zero is true
};

// Everything a link file holds. Empty texts are left out of the link.
struct ShellLinkSpec {
  cc::Str link_path;       // the ".lnk" file to write
  cc::Str target;          // what the link starts
  cc::Str arguments;
  cc::Str working_folder;
  cc::Str description;
  cc::Str icon_path;       // no icon location when empty
  int icon_index = 0;
  int show_command = kShowNormal;
  uint16_t hot_key = 0;    // virtual key in the low byte, modifiers in the high byte
  // Set on the link's property store in this order, each committed on its
  // own, before the link is saved.
  std::vector<LinkProperty> properties;
};

// Change notification events and flags (SHChangeNotify), numbered as
// Windows numbers them.
inline constexpr uint32_t kChangeAssocChanged = 0x08000000;  // SHCNE_ASSOCCHANGED
inline constexpr uint32_t kChangeUpdateDir = 0x00001000;     // SHCNE_UPDATEDIR
inline constexpr uint32_t kChangeFlagPath = 0x0005;          // SHCNF_PATHW
inline constexpr uint32_t kChangeFlagFlush = 0x1000;         // SHCNF_FLUSH
inline constexpr uint32_t kChangeFlagFlushNoWait = 0x3000;   // SHCNF_FLUSHNOWAIT

class Shell {
 public:
  virtual ~Shell() = default;
  // Creates or replaces the link file. False when the shell link object
  // cannot be made or the file cannot be saved (for example because its
  // folder does not exist). A property that the store refuses does not make
  // the link fail; the link is saved without it.
  virtual bool CreateLink(const ShellLinkSpec& link) = 0;

  // String `id` of the shell's own string table (shell32.dll), at most 260
  // characters; empty when the system has no such string.
  virtual cc::Str ShellString(int id) = 0;
  // The names of the verbs that the shell offers on the file `name` in
  // `folder` (the scripting object's NameSpace(folder).ParseName(name)
  // .Verbs()), in its order, written as the shell writes them ("&Open").
  // False when the folder or the item cannot be reached.
  virtual bool ItemVerbs(const cc::Str& folder, const cc::Str& name,
                         std::vector<cc::Str>* verbs) = 0;
  // Runs (DoIt) the first verb of that item whose name equals `verb`
  // exactly. False when there is no such verb or running it fails.
  virtual bool DoItemVerb(const cc::Str& folder, const cc::Str& name, const cc::Str& verb) = 0;

  // ShellExecuteW without an owner window. An empty `verb` is the default
  // verb. True when the system reports success (a result above 32).
  virtual bool Execute(const cc::Str& verb, const cc::Str& file, const cc::Str& parameters,
                       const cc::Str& folder, int show) = 0;
  // ShellExecuteExW that waits, without a time limit, for the process it
  // started (when it started one). False when nothing could be started.
  virtual bool ExecuteAndWait(const cc::Str& verb, const cc::Str& file,
                              const cc::Str& parameters, int show) = 0;
  // SHChangeNotify with `path` as the first item (null or empty: none).
  virtual void NotifyChange(uint32_t event, uint32_t flags, const cc::Str& path) = 0;
};
