// The project's extension library ("user.dll" in the payload): loaded at
// start-up, told about page changes, declared-control clicks and the end of
// the setup, and offered the callback of runtime/extension_info.h. Every
// call happens on the wizard's one thread; one hook is loaded per process
// (the callback the library holds is a plain function).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "core/str.h"
#include "runtime/extension_info.h"

class HeldFile;
class Library;
class LoadedPayload;
class Platform;
class SetupLog;
namespace cc {
class KeyArr;
}

// The payload entry that holds the library.
inline constexpr char16_t kExtensionEntryName[] = u"user.dll";
// Its exported entry point.
inline constexpr char kExtensionEntryPoint[] = "CallDllEnter";
// The prefix of the private folder (and of the file in it) the library is
// written to in the user's temporary folder.
inline constexpr char16_t kExtensionTempPrefix[] = u"~T_";

// What the hook needs from the wizard's windows. Handles are window handles
// as numbers; 0 means "no such window".
class ExtensionHost {
 public:
  virtual ~ExtensionHost() = default;
  // The main wizard window; 0 before it is made and after it is gone.
  virtual uintptr_t MainWindow() = 0;
  // The current page's window, and the window it is shown in; 0 when no
  // page is shown.
  virtual uintptr_t PageWindow() = 0;
  virtual uintptr_t PageHostWindow() = 0;
  // The window of the wizard control named `name` (letter case ignored),
  // searching the main window's controls and all their children depth
  // first, the last child first; 0 when none has the name or its window
  // does not exist.
  virtual uintptr_t FindControl(const cc::Str& name) = 0;
  // Sets the text of window `handle`; false when it is not a window.
  virtual bool SetControlText(uintptr_t handle, const cc::Str& text) = 0;
};

class ExtensionHook {
 public:
  // Needs platform.files, platform.system, platform.process and
  // platform.libraries. All five references must outlive the hook; what
  // goes wrong is written to `log`.
  ExtensionHook(Platform& platform, cc::KeyArr& config, LoadedPayload& payload,
                ExtensionHost& host, SetupLog& log);
  // Unloads as Unload does.
  ~ExtensionHook();
  ExtensionHook(const ExtensionHook&) = delete;
  ExtensionHook& operator=(const ExtensionHook&) = delete;

  // Start-up: reads "user.dll" (from the payload when one is open, else
  // from the project folder as every payload file), writes it into a new
  // folder of its own in the temporary folder, holds it there unchanged,
  // loads exactly that file and looks up "CallDllEnter". Returns true when
  // the library is loaded (also when it was already). False means the setup
  // runs without an extension: no "user.dll", or one that is empty, cannot
  // be written, is not a library or lacks the entry point; every reason but
  // the first is written to the setup log (and kept in LoadReport()), and
  // nothing is left in the temporary folder. Call it once the setup log is
  // open so that the reason reaches it.
  bool Load();

  // Calls the entry point with `pageTypeId` (-1: no page), `event` and a
  // freshly zeroed and filled information block (`controlHandle` at its
  // control field, for event 50). Returns the entry point's result; 0 when
  // no library is loaded. For events 4 and 5, -1 means "stay on the page".
  int Notify(int pageTypeId, int event, uintptr_t controlHandle = 0);

  // Teardown: when a library is loaded, sends event 99 with page -1, unloads
  // the library, releases what it had read through the callback and deletes
  // its file and folder. Safe to call again.
  void Unload();

  bool Loaded() const { return entry_ != nullptr; }
  // What the last Load did, as written to the setup log; empty when there
  // was no "user.dll".
  const cc::Str& LoadReport() const { return load_report_; }
  // The library's file while it is loaded; empty otherwise.
  const cc::Str& LibraryPath() const { return library_path_; }

  // The callback's work for the loaded hook (runtime/extension_info.h has
  // the operations). Public for the plain function that the library calls.
  int Callback(int op, const ExtensionChar* name, ExtensionInfo* info);

 private:
  bool ReadLibraryBytes(std::string* bytes);
  bool WriteAndLoad(const std::string& bytes);
  void Fail(const cc::Str& reason);
  void FillBlock(ExtensionInfo* info, uintptr_t controlHandle);
  void RemoveFiles();
  int FindControl(const cc::Str& name, ExtensionInfo* info);
  int SetText(const cc::Str& text, ExtensionInfo* info);
  int ConfigValue(const cc::Str& name, ExtensionInfo* info);
  int LoadFile(const cc::Str& name, ExtensionInfo* info);

  Platform& platform_;
  cc::KeyArr& config_;
  LoadedPayload& payload_;
  ExtensionHost& host_;
  SetupLog& log_;
  std::unique_ptr<Library> library_;
  ExtensionEntry entry_ = nullptr;
  cc::Str folder_;
  cc::Str library_path_;
  cc::Str load_report_;
  // Payload files read by operation 4, by folded name: kept until unload,
  // so a library may hold on to their bytes and asking again costs nothing.
  std::map<std::u16string, std::string> loaded_files_;
};
