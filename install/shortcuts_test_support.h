// For the tests of the shortcut step: an install world whose run has begun
// as the driver begins it, with a program, a start-menu folder, a shortcut
// item and the Windows version of the case.
#pragma once

#include <string>

#include "install/install_test_support.h"
#include "install/pins.h"
#include "install/shortcuts.h"
#include "install/tiles.h"
#include "platform/os_version.h"

namespace shortcut_test {

using install_test::kAllSystems;
using install_test::kAppFolder;

inline const char16_t kProgram[] = u"C:\\Program Files\\Demo\\app.exe";
inline const char16_t kMenuFolder[] = u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Demo\\";
inline const char16_t kTaskbarFolder[] =
    u"C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar\\";
inline const char16_t kTempFolder[] = u"C:\\Users\\user\\AppData\\Local\\Temp\\";
inline const char16_t kStartScreen[] =
    u"C:\\Users\\user\\AppData\\Local\\Microsoft\\Windows\\Application Shortcuts\\QuorvaneDemo App\\";
inline const char16_t kQuickLaunch[] =
    u"C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\";
inline const char16_t kScriptTemplate[] =
    u"web=\"[#WEB_LINK#]\"\r\nexe=\"[#EXE_PATH#]\"\r\n";

class ShortcutWorld : public install_test::InstallWorld {
 public:
  explicit ShortcutWorld(FakeWindows windows = FakeWindows::k10, bool allUsers = false) {
    platform.SetOs(MakeFakeOs(windows, true, true));
    platform.fake_files.PutFile(kProgram, "MZ app");
    platform.fake_files.PutFolder(kMenuFolder);
    platform.fake_files.PutFolder(kQuickLaunch);
    platform.fake_shell.SetTaskbarFolder(kTaskbarFolder);
    std::string script;
    for (char16_t c : std::u16string(kScriptTemplate)) script.push_back(static_cast<char>(c));
    platform.fake_resources.Put(u"BIN", kTileScriptResource, script);
    store.SetBool(u"Ret.Location.AllUser", allUsers);
    store.Set(u"s.i.Short.Count", u"1");
    Begin();
  }

  // What RunInstall sets before its shortcut step.
  void Begin() {
    session.app_folder = store.Get(u"Ret.Location.Path");
    session.app_name = u"Demo App";
    session.record.Start(session.app_folder, session.app_name);
    session.os_index = GetOsVersion(platform, &session.is64);
    session.start_menu_folder = kMenuFolder;
  }

  // Shortcut item `n` with every place's link named after the place.
  void Shortcut(int n, const char16_t* file, uint32_t flags, uint32_t os = kAllSystems) {
    store.Set(Key(n, u"File"), file);
    store.SetInt(Key(n, u"OS"), static_cast<int>(os));
    store.SetInt(Key(n, u"Flag"), static_cast<int>(flags));
    store.Set(cc::Str::Formatted(u"en-US.s.i.Short.%d.Name", n), cc::Str::Formatted(u"Item%d", n));
    const char16_t* names[] = {u"Menu", u"Desk", u"Start", u"Startup", u"Sendto", u"Quick",
                               u"TaskPinned", u"StartScreen"};
    for (const char16_t* place : names) {
      store.Set(cc::Str::Formatted(u"en-US.s.i.Short.%d.%s", n, place),
                cc::Str::Formatted(u"Demo %s", place));
    }
  }
  void Set(int n, const char16_t* field, const cc::Str& value) { store.Set(Key(n, field), value); }

  bool Run() { return CreateShortcutsAndPins(session); }
  std::string Record() const { return session.record.Utf8(); }
  bool Recorded(const std::string& line) const {
    return Record().find("\r\n" + line + "\r\n") != std::string::npos;
  }
  // How often `line` is in the record.
  int CountRecorded(const std::string& line) const {
    int count = 0;
    const std::string text = Record();
    for (size_t at = text.find("\r\n" + line + "\r\n"); at != std::string::npos;
         at = text.find("\r\n" + line + "\r\n", at + 1)) {
      ++count;
    }
    return count;
  }
  std::string Bytes(const cc::Str& path) const {
    std::string bytes;
    return FileBytes(path, &bytes) ? bytes : "(missing)";
  }
  // Lets late pins advance while the engine pumps messages.
  void TickOnPump() {
    platform.fake_progress.OnPump([this](int) { platform.fake_shell.Tick(); });
  }

  static cc::Str Key(int n, const char16_t* field) { return cc::Str::Formatted(u"s.i.Short.%d.%s", n, field); }
};

// The bit of place k offered to the user, and always made.
inline uint32_t Offered(int k) { return 1u << k; }
inline uint32_t Always(int k) { return 0x1000u << k; }

}  // namespace shortcut_test
