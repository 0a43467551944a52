// Start-screen tiles (Windows 8 and later): for one shortcut item a small
// launcher script, a link to it in the start-screen folder carrying the tile
// properties (application identifier, pictures, size) and, on Windows 8
// itself, a tile folder with a resource index and a logo. Web targets become
// pinned-site tiles that the default browser opens, so the browser is made
// to answer to the identifier the tiles carry.
#pragma once

#include <cstdint>

#include "core/str.h"
#include "install/shortcut_link.h"

class Platform;
class Registry;
struct InstallSession;

// The resource ids of the launcher script template and the resource index.
inline constexpr int kTileScriptResource = 7;
inline constexpr int kTileIndexResource = 8;
inline constexpr char16_t kTileResourceType[] = u"BIN";
// The placeholders of the script template.
inline constexpr char16_t kWebLinkPlaceholder[] = u"[#WEB_LINK#]";
inline constexpr char16_t kExePathPlaceholder[] = u"[#EXE_PATH#]";
// The application identifier that tiles and the prepared browser share.
inline constexpr char16_t kTileBrowserId[] = u"Microsoft.InternetExplorer.Default";

// What is made once per install run, before the first tile.
struct TileRun {
  bool prepared = false;
  cc::Str identifier;
  // The pseudo-random generator (0 to 32,767) for the identifier.
  int (*random)() = nullptr;
};

// One tile: item `item` at place `place`, for the real target or URL.
struct TileRequest {
  int item = 0;
  int place = 0;
  cc::Str target;
  cc::Str link_path;     // start-screen folder + link name + ".lnk"
  LinkFields fields;     // description = the link name
  int tile_size = 0;
  cc::Str picture;
  cc::Str wide_picture;
};

// "Quorvane%d.V%d.%d%d" from two generator values, the item and the place.
cc::Str MakeTileIdentifier(int r1, int r2, int item, int place);

// `url` made fit for a file name: ":" becomes "-"; "/", "*", "\\" (and on
// Windows 8 also ".") become "_", and so do the other characters a file
// name cannot hold ("?", "\"", "<", ">", "|").
cc::Str ConvertTileUrl(const cc::Str& url, int osIndex);

// The launcher script from its template: for a URL the web-link
// placeholder gets the URL and the program placeholder nothing, for a file
// the other way round. Double quotes in the value are doubled and line
// breaks percent-encoded, so that the value stays one string of the script.
cc::Str MakeLauncherScript(const cc::Str& scriptTemplate, const cc::Str& target);

// Makes the user's default browser answer to kTileBrowserId. Returns false,
// leaving the registry untouched, when no default browser program can be
// found; true when the values were set.
bool PrepareDefaultBrowser(Registry& registry);

// Creates the tile link `linkPath` to `scriptPath` with the link fields (as
// CreateShellLink does) and the tile properties in their fixed order.
// Returns whether the link was saved.
bool CreateTileLink(Platform& platform, const cc::Str& identifier, int tileSize,
                    const cc::Str& linkPath, const cc::Str& scriptPath, const LinkFields& fields,
                    const cc::Str& picture, const cc::Str& widePicture, int osIndex);

// The tile procedure: prepares the browser and the identifier on the run's
// first tile, writes the tile files (recorded as "Dir?=" and "Short?="
// lines) and the tile link. Returns whether the link was saved; false also
// when the program has no script template.
bool MakeTile(InstallSession& session, TileRun& run, const TileRequest& request);
