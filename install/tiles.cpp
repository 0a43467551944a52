#include "install/tiles.h"

#include <random>
#include <string>

#include "install/create_folder.h"
#include "install/install_session.h"
#include "platform/file_helpers.h"
#include "platform/module_resources.h"
#include "platform/os_version.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "runtime/setup_log.h"

namespace {

// Registry places of the default browser.
const char16_t kUserChoiceKey[] =
    u"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";
const char16_t kOpenCommandSubkey[] = u"\\shell\\open\\command";
const char16_t kClassesKey[] = u"Software\\Classes\\";
const char16_t kBrowserIdCommands[][64] = {
    u"\\.exe\\shell\\open\\command",
    u"\\.exe\\shell\\opennewwindow\\command",
};

// Tile files.
const char16_t kTileFolderSuffix[] = u"_start\\";
const char16_t kScriptSuffix[] = u"_launcher.vbs";
const char16_t kResourceIndexName[] = u"resources.pri";
const char16_t kLogoName[] = u"PinnedSiteSmallLogo.png";
const char16_t kPackagedLogo[] = u"ms-appx:///images/PinnedSiteSmallLogo.png";

// Property sets of the tile link.
const char16_t kTileFormat[] = u"{86D40B4D-9069-443C-819A-2A54090DCCEC}";
const char16_t kSummaryFormat[] = u"{B725F130-47EF-101A-A5F1-02608C9EEBAC}";
const char16_t kLinkFlagsFormat[] = u"{B6578B39-11F9-449B-8438-CB5CF03B7D9C}";
const char16_t kTileSizeFormat[] = u"{0DED77B3-C614-456C-AE5B-285B38D7B01B}";
const char16_t kContentTileArguments[] =
    u"-contentTile -formatVersion 0x00000002 -securityFlags 0x00000000 -url 0x00000057";
constexpr uint32_t kTileBackground = 0x41;
constexpr uint32_t kLinkFlags = 0xE1;

int DefaultRandom() {
  static std::mt19937 generator{std::random_device{}()};
  return static_cast<int>(generator() & 0x7FFF);
}

LinkProperty Property(const char16_t* format, uint32_t id, LinkPropertyType type, const cc::Str& text,
                      uint32_t number = 0) {
  LinkProperty property;
  property.format_id = format;
  property.property_id = id;
  property.type = type;
  property.text = text;
  property.number = number;
  return property;
}

LinkProperty Text(const char16_t* format, uint32_t id, const cc::Str& text) {
  return Property(format, id, LinkPropertyType::kString, text);
}

LinkProperty Number(const char16_t* format, uint32_t id, uint32_t number) {
  return Property(format, id, LinkPropertyType::kUInt32, cc::Str(), number);
}

cc::Str FileUrl(cc::Str path) {
  path.Replace(u"\\", u"/");
  return cc::Str(u"file:///") + path;
}

std::vector<LinkProperty> TileProperties(const cc::Str& identifier, int tileSize, const cc::Str& linkName,
                                         const cc::Str& picture, const cc::Str& widePicture, int osIndex) {
  std::vector<LinkProperty> properties;
  properties.push_back(Text(kAppUserModelFormat, 5, identifier));
  if (!picture.IsEmpty()) {
    const cc::Str url = FileUrl(picture);
    properties.push_back(Text(kTileFormat, 12, url));
    properties.push_back(Text(kTileFormat, 19, url));
    properties.push_back(Text(kTileFormat, 20, url));
    properties.push_back(Text(kTileFormat, 2, osIndex == kOsWindows8 ? cc::Str(kPackagedLogo) : url));
  }
  if (!widePicture.IsEmpty()) properties.push_back(Text(kTileFormat, 13, FileUrl(widePicture)));
  properties.push_back(Number(kTileFormat, 14, kTileBackground));
  properties.push_back(Text(kSummaryFormat, 10, linkName));
  properties.push_back(Property(kAppUserModelFormat, 11, LinkPropertyType::kBool, cc::Str(), 1));
  properties.push_back(Text(kAppUserModelFormat, 19, kTileBrowserId));
  properties.push_back(Text(kAppUserModelFormat, 20, kContentTileArguments));
  properties.push_back(Number(kLinkFlagsFormat, 4, kLinkFlags));
  properties.push_back(Number(kTileSizeFormat, 16, static_cast<uint32_t>(tileSize)));
  return properties;
}

// A value as one string literal of the script.
cc::Str ScriptLiteral(cc::Str value) {
  value.Replace(u"\"", u"\"\"");
  value.Replace(u"\r", u"%0D");
  value.Replace(u"\n", u"%0A");
  return value;
}

// The browser program of an open command: up to and including the first
// ".exe" followed by a double quote, else the first ".exe"; else empty.
cc::Str BrowserProgram(const cc::Str& command) {
  int end = command.IndexOf(u".exe\"", 0, true);
  if (end >= 0) return command.Substring(0, end + 5);
  end = command.IndexOf(u".exe", 0, true);
  return end >= 0 ? command.Substring(0, end + 4) : cc::Str(u"");
}

cc::Str ReadString(Registry& registry, RegRoot root, const cc::Str& path, const cc::Str& name) {
  auto key = registry.OpenKey(root, path, RegAccess::kRead);
  RegValue value;
  if (!key || !key->QueryValue(name, &value)) return cc::Str(u"");
  return RegDataAsText(value.data);
}

void SetString(Registry& registry, RegRoot root, const cc::Str& path, const cc::Str& name,
               const cc::Str& text) {
  auto key = registry.CreateKey(root, path);
  if (key) key->SetValue(name, kRegSz, RegStringData(text));
}

// Where the tile's files go.
struct TilePaths {
  cc::Str folder;  // Windows 8 only
  cc::Str script;
};

TilePaths ChooseTilePaths(const InstallSession& session, const cc::Str& target) {
  TilePaths paths;
  const bool url = IsUrlTarget(target);
  const cc::Str base = url ? session.app_folder + ConvertTileUrl(target, session.os_index) : target;
  if (session.os_index == kOsWindows8) {
    paths.folder = url ? base + cc::Str(u"\\") : base + cc::Str(kTileFolderSuffix);
    paths.script = paths.folder + cc::Str(kScriptSuffix);
  } else {
    paths.script = base + cc::Str(kScriptSuffix);
  }
  return paths;
}

// Windows 8 reads the tile's logo through a resource index beside it.
void WriteTileFolder(InstallSession& session, const cc::Str& folder, const cc::Str& picture) {
  FileSystem& files = *session.platform.files;
  CreateFolder(session, folder, true);
  std::string index;
  if (session.platform.resources->Read(kTileResourceType, kTileIndexResource, &index)) {
    const cc::Str path = folder + cc::Str(kResourceIndexName);
    WriteFileBytes(files, path, index, cc::kCodePageAnsi, false, false);
    session.record.AddLine(u"Short?=", path);
  }
  const cc::Str logo = folder + cc::Str(kLogoName);
  CopyFileTo(files, picture, logo, false);
  session.record.AddLine(u"Short?=", logo);
}

bool LoadScriptTemplate(Platform& platform, cc::Str* text) {
  return ReadTextResource(*platform.resources, kTileScriptResource, kTileResourceType, cc::kCodePageUtf8,
                          text) >= 0;
}

void PrepareRun(InstallSession& session, TileRun& run, const TileRequest& request) {
  if (run.prepared) return;
  run.prepared = true;
  PrepareDefaultBrowser(*session.platform.registry);
  int (*random)() = run.random ? run.random : DefaultRandom;
  int r1 = random();
  int r2 = random();
  run.identifier = MakeTileIdentifier(r1, r2, request.item, request.place);
}

}  // namespace

cc::Str MakeTileIdentifier(int r1, int r2, int item, int place) {
  return cc::Str::Formatted(u"Quorvane%d.V%d.%d%d", r1 % 9900001 + 100000, r2 % 99001 + 1000, item, place);
}

cc::Str ConvertTileUrl(const cc::Str& url, int osIndex) {
  std::u16string text(url.View());
  for (char16_t& c : text) {
    if (c == u':') {
      c = u'-';
    } else if (c == u'/' || c == u'*' || c == u'\\' || c == u'?' || c == u'"' || c == u'<' ||
               c == u'>' || c == u'|' || (c == u'.' && osIndex == kOsWindows8)) {
      c = u'_';
    }
  }
  return cc::Str(text);
}

cc::Str MakeLauncherScript(const cc::Str& scriptTemplate, const cc::Str& target) {
  const bool url = IsUrlTarget(target);
  cc::Str script = scriptTemplate.ToCodePage(cc::kCodePageUtf16LE);
  script.Replace(kWebLinkPlaceholder, url ? ScriptLiteral(target) : cc::Str(u""));
  script.Replace(kExePathPlaceholder, url ? cc::Str(u"") : ScriptLiteral(target));
  return script;
}

bool PrepareDefaultBrowser(Registry& registry) {
  if (!registry.OpenKey(RegRoot::kCurrentUser, kUserChoiceKey, RegAccess::kRead)) return false;
  const cc::Str progId = ReadString(registry, RegRoot::kCurrentUser, kUserChoiceKey, u"ProgId");
  if (progId.IsEmpty()) return false;
  const cc::Str command =
      ReadString(registry, RegRoot::kClassesRoot, progId + cc::Str(kOpenCommandSubkey), cc::Str());
  const cc::Str browser = BrowserProgram(command);
  if (browser.IsEmpty()) return false;
  SetString(registry, RegRoot::kClassesRoot, progId, u"AppUserModelId", kTileBrowserId);
  SetString(registry, RegRoot::kCurrentUser, cc::Str(kClassesKey) + progId, u"AppUserModelId", kTileBrowserId);
  SetString(registry, RegRoot::kLocalMachine, cc::Str(kClassesKey) + progId, u"AppUserModelId", kTileBrowserId);
  for (const char16_t* command_key : kBrowserIdCommands) {
    SetString(registry, RegRoot::kCurrentUser,
              cc::Str(kClassesKey) + cc::Str(kTileBrowserId) + cc::Str(command_key), cc::Str(), browser);
  }
  return true;
}

bool CreateTileLink(Platform& platform, const cc::Str& identifier, int tileSize,
                    const cc::Str& linkPath, const cc::Str& scriptPath, const LinkFields& fields,
                    const cc::Str& picture, const cc::Str& widePicture, int osIndex) {
  if (!fields.working_folder.IsEmpty() && !FolderExists(*platform.files, fields.working_folder)) {
    MakeFolder(*platform.files, fields.working_folder);
  }
  // The tile carries its own properties, not those of a plain link.
  ShellLinkSpec spec = MakeShellLinkSpec(linkPath, scriptPath, fields, kOsUnknown);
  spec.properties = TileProperties(identifier, tileSize, fields.description, picture, widePicture, osIndex);
  return platform.shell->CreateLink(spec);
}

bool MakeTile(InstallSession& session, TileRun& run, const TileRequest& request) {
  PrepareRun(session, run, request);
  cc::Str scriptTemplate;
  if (!LoadScriptTemplate(session.platform, &scriptTemplate)) {
    session.log.Line(u"Tile script template missing, Link:%s", request.link_path);
    return false;
  }
  const TilePaths paths = ChooseTilePaths(session, request.target);
  if (!paths.folder.IsEmpty()) WriteTileFolder(session, paths.folder, request.picture);
  WriteTextFile(*session.platform.files, MakeLauncherScript(scriptTemplate, request.target), paths.script,
                false);
  session.record.AddLine(u"Short?=", paths.script);
  return CreateTileLink(session.platform, run.identifier, request.tile_size, request.link_path, paths.script,
                        request.fields, request.picture, request.wide_picture, session.os_index);
}
