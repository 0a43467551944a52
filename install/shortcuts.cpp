#include "install/shortcuts.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "install/create_folder.h"
#include "install/install_session.h"
#include "install/page_text.h"
#include "install/pins.h"
#include "install/shortcut_link.h"
#include "install/status.h"
#include "install/tiles.h"
#include "platform/csidl.h"
#include "platform/file_helpers.h"
#include "platform/os_version.h"
#include "platform/path_text.h"
#include "platform/platform.h"
#include "platform/system_helpers.h"
#include "runtime/os_flags.h"
#include "runtime/path_macros.h"
#include "runtime/result_store.h"
#include "runtime/setup_log.h"

namespace {

// Bits of "s.i.Short.%d.Flag": place k offered, place k always made.
constexpr uint32_t kOfferedBit = 0x1;
constexpr uint32_t kAlwaysBit = 0x1000;

// Special folders of places 1 to 5 and 7: for the current user, for all users.
struct PlaceFolders {
  int current_user;
  int all_users;
};
constexpr PlaceFolders kPlaceFolders[] = {
    {-1, -1},
    {kCsidlDesktopDirectory, kCsidlCommonDesktopDirectory},
    {kCsidlStartMenu, kCsidlCommonStartMenu},
    {kCsidlStartup, kCsidlCommonStartup},
    {kCsidlSendTo, kCsidlSendTo},
    {kCsidlAppData, kCsidlAppData},
    {-1, -1},
    {kCsidlLocalAppData, kCsidlLocalAppData},
};
const char16_t kQuickLaunchSubfolder[] = u"Microsoft\\Internet Explorer\\Quick Launch\\";
const char16_t kStartScreenSubfolder[] = u"Microsoft\\Windows\\Application Shortcuts\\Quorvane";

// "s.i.Short.%d.Runwin" 0, 1, 2; anything else shows the window normally.
constexpr int kRunWindowShows[] = {kShowNormal, kShowMinimize, kShowMaximized};

constexpr int kMaxTileSize = 4;
constexpr int kWideTileSize = 1;

enum class PlaceMode { kLink, kPin, kTile, kSkip };

struct ShortcutItem {
  int index = 0;
  cc::Str name;
  cc::Str target;  // the expanded file path, or the URL
  bool url = false;
  uint32_t flags = 0;
  cc::Str subfolder;
  bool any_made = false;
};

cc::Str ItemKey(int n, const char16_t* field) {
  return cc::Str::Formatted(u"s.i.Short.%d.%s", n, field);
}

cc::Str ExpandItemPath(InstallSession& session, int n, const char16_t* field) {
  return ExpandMacroPath(session.store.Get(ItemKey(n, field)), session.store, session.platform);
}

void AddSkipLines(InstallSession& session, const char16_t* reason, const cc::Str& target) {
  ShowStatusLine(session.progress(), session.log, reason);
  ShowStatusLine(session.progress(), session.log, target + cc::Str(u"\r\n"));
}

cc::Str PlaceDisplayName(InstallSession& session, int k) {
  cc::Str name = PageText(session.store, cc::Str::Formatted(u".s.i.Var.S_%s", kShortcutLocationNames[k]));
  return name.IsEmpty() ? cc::Str(kShortcutLocationNames[k]) : name;
}

bool IsAbsoluteFolder(const cc::Str& folder) { return folder[1] == u':' && folder[2] == u'\\'; }

bool PinsOn(int os) { return os == kOsWindows7 || os == kOsWindows8 || os >= kOsWindows8_1; }
bool TilesOn(int os) { return os == kOsWindows8 || os >= kOsWindows8_1; }

// Place 0: the program-menu folder (or the item's absolute folder), made
// with its parents. False when it cannot be made; empty `location` when the
// program menu was skipped and the item has no folder of its own.
bool MenuLocation(InstallSession& session, const ShortcutItem& item, cc::Str* location) {
  if (IsAbsoluteFolder(item.subfolder)) {
    *location = item.subfolder;
  } else if (session.start_menu_folder.IsEmpty()) {
    *location = cc::Str(u"");
    return true;
  } else {
    *location = session.start_menu_folder + item.subfolder;
  }
  return CreateFolder(session, *location, false);
}

cc::Str SpecialLocation(InstallSession& session, int k) {
  bool allUsers = session.store.GetBool(u"Ret.Location.AllUser", false);
  const PlaceFolders& folders = kPlaceFolders[k];
  cc::Str folder = GetSpecialFolder(*session.platform.system, allUsers ? folders.all_users : folders.current_user);
  if (k == kPlaceQuickLaunch && !folder.IsEmpty()) folder += kQuickLaunchSubfolder;
  return folder;
}

// Places 1 to 7: where the link goes and how it is made.
PlaceMode OtherLocation(InstallSession& session, int k, cc::Str* location) {
  if (k == kPlaceTaskbar) {
    if (!PinsOn(session.os_index)) return PlaceMode::kSkip;
    *location = GetTempFolder(*session.platform.system);
    return PlaceMode::kPin;
  }
  if (k == kPlaceStartScreen) {
    if (!TilesOn(session.os_index)) return PlaceMode::kSkip;
    *location = StartScreenFolder(session);
    if (!location->IsEmpty()) CreateFolder(session, *location, true);
    return PlaceMode::kTile;
  }
  *location = SpecialLocation(session, k);
  return PlaceMode::kLink;
}

int ShowCommand(int runWindow) {
  return runWindow >= 0 && runWindow <= 2 ? kRunWindowShows[runWindow] : kShowNormal;
}

LinkFields ReadLinkFields(InstallSession& session, int n, const cc::Str& linkName) {
  LinkFields fields;
  cc::Str icon = session.store.Get(ItemKey(n, u"Icon"));
  fields.icon_index = icon.IsEmpty() ? -1 : icon.ToInt();
  fields.icon_path = ExpandItemPath(session, n, u"IconPath");
  fields.arguments = session.store.Get(ItemKey(n, u"Param"));
  fields.show_command = ShowCommand(session.store.GetInt(ItemKey(n, u"Runwin"), 0));
  fields.hot_key = static_cast<uint16_t>(session.store.GetInt(ItemKey(n, u"Hotkey"), 0) & 0xFFFF);
  fields.description = linkName;
  fields.working_folder = WithTrailingBackslash(ExpandItemPath(session, n, u"Work"));
  if (!fields.working_folder.IsEmpty()) MakeFolderTree(*session.platform.files, fields.working_folder);
  return fields;
}

TileRequest ReadTileRequest(InstallSession& session, const ShortcutItem& item, int k, const cc::Str& linkPath,
                            const LinkFields& fields) {
  TileRequest tile;
  tile.item = item.index;
  tile.place = k;
  tile.target = item.target;
  tile.link_path = linkPath;
  tile.fields = fields;
  tile.picture = ExpandItemPath(session, item.index, u"Pinpic");
  tile.wide_picture = ExpandItemPath(session, item.index, u"PinpicW");
  int size = session.store.GetInt(ItemKey(item.index, u"Pinsize"), 0);
  if (size < 0 || size > kMaxTileSize) size = 0;
  if (tile.picture.IsEmpty() && !tile.wide_picture.IsEmpty()) size = kWideTileSize;
  if (size == kWideTileSize && tile.wide_picture.IsEmpty()) size = 0;
  tile.tile_size = size;
  return tile;
}

cc::Str LinkExtension(const ShortcutItem& item, PlaceMode mode) {
  if (!item.url || mode == PlaceMode::kTile) return u".lnk";
  return mode == PlaceMode::kPin ? u".website" : u".url";
}

// Status lines, labels and record lines of a place that was made.
void ReportPlace(InstallSession& session, ShortcutItem& item, int k, PlaceMode mode, const cc::Str& location,
                 const cc::Str& linkName, const cc::Str& linkPath) {
  const cc::Str display = PlaceDisplayName(session, k);
  ShowStatus(session.progress(), display + cc::Str(u": ") + linkName);
  ShowDetail(session.progress(), linkPath);
  if (!item.any_made) {
    ShowStatusLine(session.progress(), session.log, item.name + cc::Str(u"[") + item.target + cc::Str(u"]:\r\n    "));
    item.any_made = true;
  }
  if (k == kPlaceMenu) session.record.AddLine(u"Dir?=", location);
  if (mode != PlaceMode::kPin) session.record.AddLine(u"Short?=", linkPath);
  ShowStatusLine(session.progress(), session.log, display + cc::Str(u"; "));
}

// Makes the link of place `k` in `location`.
void MakeLink(InstallSession& session, ShortcutItem& item, int k, PlaceMode mode, const cc::Str& location,
              TileRun& tiles) {
  const cc::Str linkName =
      PageText(session.store, cc::Str::Formatted(u".s.i.Short.%d.%s", item.index, kShortcutLocationNames[k]));
  const cc::Str fileName = LinkFileName(linkName);
  const cc::Str linkPath = location + fileName + LinkExtension(item, mode);
  const LinkFields fields = ReadLinkFields(session, item.index, linkName);
  if (mode != PlaceMode::kTile) {
    CreateShellLink(session.platform, session.os_index, linkPath, item.target, fields);
  }
  if (mode == PlaceMode::kPin) {
    PinShortcut(session, linkPath, fileName, item.target, fields);
    DeleteFileForced(*session.platform.files, linkPath);
  } else if (mode == PlaceMode::kTile) {
    MakeTile(session, tiles, ReadTileRequest(session, item, k, linkPath, fields));
  }
  ReportPlace(session, item, k, mode, location, linkName, linkPath);
}

// Place `k` of `item`. False only when the program-menu folder cannot be made.
bool MakePlace(InstallSession& session, ShortcutItem& item, int k, TileRun& tiles) {
  session.log.Line(u"Link:%s, Index:%d", kShortcutLocationNames[k], k);
  cc::Str location;
  PlaceMode mode = PlaceMode::kLink;
  if (k == kPlaceMenu) {
    if (!MenuLocation(session, item, &location)) {
      session.store.Set(u"Ret.ErrorInfo", ErrorText(session.store, u".s.i.Var.CreateFolderError", location));
      return false;
    }
    if (location.IsEmpty()) {
      session.log.Line(u"Skip for program menu skipped");
      return true;
    }
  } else {
    mode = OtherLocation(session, k, &location);
    session.log.Line(u"W8 StartScreen:%d, Pinned:%d, Skip:%d", mode == PlaceMode::kTile ? 1 : 0,
            mode == PlaceMode::kPin ? 1 : 0, mode == PlaceMode::kSkip ? 1 : 0);
    if (mode == PlaceMode::kSkip) {
      AddSkipLines(session, u"Skip for windows not suport\r\n", item.target);
      return true;
    }
    if (!FolderExists(*session.platform.files, location)) {
      AddSkipLines(session, u"Skip for shortcut folder not exist\r\n", item.target);
      return true;
    }
  }
  MakeLink(session, item, k, mode, location, tiles);
  return true;
}

bool PlaceChosen(InstallSession& session, const ShortcutItem& item, int k) {
  if (item.flags & (kAlwaysBit << k)) return true;
  if (!(item.flags & (kOfferedBit << k))) return false;
  return session.store.GetBool(cc::Str::Formatted(u"Ret.Shortcut.chkShort%d_%d", item.index, k), true);
}

// Reads item `n`; false when it does not apply (system or missing target).
bool ReadItem(InstallSession& session, int n, ShortcutItem* item) {
  cc::KeyArr& store = session.store;
  item->index = n;
  item->name = PageText(store, cc::Str::Formatted(u".s.i.Short.%d.Name", n));
  const cc::Str file = store.Get(ItemKey(n, u"File"));
  const uint32_t os = static_cast<uint32_t>(store.GetInt(ItemKey(n, u"OS"), 0));
  session.log.Line(u"Shortcut, Index:%d, Name:%s, File:%s", n, item->name, file);
  if (!OsTest(os, session.os_index, session.is64)) {
    session.log.Line(u"Shortcut Skip for OS Check, OS Flag:0x%x", os);
    return false;
  }
  item->flags = static_cast<uint32_t>(store.GetInt(ItemKey(n, u"Flag"), 0));
  item->subfolder = WithTrailingBackslash(PageText(store, cc::Str::Formatted(u".s.i.Short.%d.Folder", n)));
  item->url = IsUrlTarget(file);
  item->target = item->url ? file : ExpandMacroPath(file, store, session.platform);
  session.log.Line(u"Shortcut Real File:%s", item->target);
  ShowStatus(session.progress(), item->name);
  ShowDetail(session.progress(), item->target);
  if (!item->url && !FileExists(*session.platform.files, item->target)) {
    AddSkipLines(session, u"Skip for shortcut or assco for file not exist\r\n", item->target);
    return false;
  }
  return true;
}

// The index in a key "s.i.Short.<index>.OS" (as "%d" writes it), or -1.
int OsKeyIndex(const cc::Str& key) {
  static const cc::Str kPrefix(u"s.i.Short.");
  static const cc::Str kSuffix(u".OS");
  if (!key.StartsWith(kPrefix, true) || !key.EndsWith(kSuffix, true)) return -1;
  std::u16string_view digits = key.View().substr(kPrefix.GetLength());
  digits.remove_suffix(std::min<size_t>(digits.size(), kSuffix.GetLength()));
  if (digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == u'0')) return -1;
  int64_t index = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return -1;
    index = index * 10 + (c - u'0');
  }
  return index > INT32_MAX ? -1 : static_cast<int>(index);
}

// Items 0 to "s.i.Short.Count" - 1 that have an OS word, in order. An item
// without one applies to no system, so the keys are walked instead of the
// count: a mistyped huge count cannot stall the install.
std::vector<int> ShortcutItemIndices(const cc::KeyArr& store) {
  const int count = store.GetInt(u"s.i.Short.Count", 0);
  std::vector<int> indices;
  for (int i = 0; i < store.Count(); ++i) {
    int n = OsKeyIndex(store.KeyAt(i));
    if (n >= 0 && n < count) indices.push_back(n);
  }
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  return indices;
}

}  // namespace

cc::Str StartScreenFolder(InstallSession& session) {
  cc::Str local = GetSpecialFolder(*session.platform.system, kCsidlLocalAppData);
  if (local.IsEmpty()) return local;
  return local + cc::Str(kStartScreenSubfolder) + session.app_name + cc::Str(u"\\");
}

bool CreateShortcutsAndPins(InstallSession& session) {
  TileRun tiles;
  for (int n : ShortcutItemIndices(session.store)) {
    ShortcutItem item;
    if (!ReadItem(session, n, &item)) continue;
    for (int k = 0; k < kShortcutLocationCount; ++k) {
      if (PlaceChosen(session, item, k) && !MakePlace(session, item, k, tiles)) return false;
    }
    if (item.any_made) ShowStatusLine(session.progress(), session.log, u"\r\n");
  }
  return true;
}
