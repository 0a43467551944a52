#include "runtime/extension_hook.h"

#include <cstring>

#include "core/key_arr.h"
#include "platform/file_helpers.h"
#include "platform/file_system.h"
#include "platform/library.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "runtime/extension_temp_folder.h"
#include "runtime/payload_loader.h"
#include "runtime/setup_log.h"

namespace {

// Some virus scanners look at a new file before anyone may use it.
constexpr int kSettleMs = 50;

// The hook the library's callback reaches.
ExtensionHook* g_loaded_hook = nullptr;

int VELMORA_EXTENSION_CALL ExtensionCallbackEntry(int op, const ExtensionChar* name, int reserved,
                                                  ExtensionInfo* info) {
  if (g_loaded_hook == nullptr) return -1;
  return g_loaded_hook->Callback(op, name, info);
}

// The library's file is named after its folder:
// "C:\Temp\~T_1A.tmp\" holds "~T_1A.dll".
cc::Str LibraryFileIn(const cc::Str& folder) {
  std::u16string path(folder.GetBuffer());
  path.pop_back();  // the trailing backslash
  size_t slash = path.find_last_of(u"\\/");
  std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
  size_t dot = name.rfind(u'.');
  if (dot != std::u16string::npos) name.resize(dot);
  return folder + cc::Str(name + u".dll");
}

template <typename Field>
void Store(Field* field, uintptr_t value) {
  *field = static_cast<Field>(value);
}

}  // namespace

ExtensionHook::ExtensionHook(Platform& platform, cc::KeyArr& config, LoadedPayload& payload,
                             ExtensionHost& host, SetupLog& log)
    : platform_(platform), config_(config), payload_(payload), host_(host), log_(log) {}

ExtensionHook::~ExtensionHook() { Unload(); }

bool ExtensionHook::Load() {
  if (Loaded()) return true;
  load_report_ = cc::Str(u"");
  std::string bytes;
  if (!ReadLibraryBytes(&bytes)) return false;
  if (!WriteAndLoad(bytes)) return false;
  g_loaded_hook = this;
  load_report_ = cc::Str::Formatted(u"Extension:loaded %s", library_path_.GetBuffer());
  log_.Write(load_report_);
  return true;
}

bool ExtensionHook::ReadLibraryBytes(std::string* bytes) {
  PayloadArchive* archive = payload_.archive();
  // With a payload open, the library comes from it alone: a "user.dll"
  // lying beside the program must never be run in its place.
  if (archive != nullptr && FindEntry(archive, cc::Str(kExtensionEntryName), true, nullptr, nullptr) != kPayloadOk) {
    return false;
  }
  if (archive == nullptr &&
      !FileExists(*platform_.files, ResolvePayloadFileOnDisk(platform_, &config_, cc::Str(kExtensionEntryName)))) {
    return false;
  }
  if (!LoadPayloadFile(archive, platform_, &config_, cc::Str(kExtensionEntryName), bytes)) {
    Fail(cc::Str(u"user.dll cannot be read"));
    return false;
  }
  if (bytes->empty()) {
    Fail(cc::Str(u"user.dll is empty"));
    return false;
  }
  return true;
}

bool ExtensionHook::WriteAndLoad(const std::string& bytes) {
  folder_ = MakeTempFolder(platform_, cc::Str(kExtensionTempPrefix));
  if (folder_.IsEmpty()) {
    Fail(cc::Str(u"no folder of its own can be made in the temporary folder"));
    return false;
  }
  library_path_ = LibraryFileIn(folder_);

  cc::Str reason;
  std::unique_ptr<HeldFile> held = platform_.libraries->WriteHeld(library_path_, bytes, &reason);
  if (!held) {
    Fail(reason);
    return false;
  }
  platform_.process->Sleep(kSettleMs);
  if (!FileExists(*platform_.files, library_path_)) {
    held.reset();
    Fail(cc::Str::Formatted(u"%s vanished before it was loaded", library_path_.GetBuffer()));
    return false;
  }
  library_ = platform_.libraries->Load(library_path_, &reason);
  held.reset();
  if (!library_) {
    Fail(reason);
    return false;
  }
  entry_ = reinterpret_cast<ExtensionEntry>(library_->Export(kExtensionEntryPoint));
  if (entry_ == nullptr) {
    library_.reset();
    Fail(cc::Str(u"user.dll has no entry point CallDllEnter"));
    return false;
  }
  return true;
}

void ExtensionHook::Fail(const cc::Str& reason) {
  RemoveFiles();
  load_report_ = cc::Str(u"Extension:") + reason + cc::Str(u"; the setup runs without it");
  log_.Write(load_report_);
}

void ExtensionHook::RemoveFiles() {
  FileSystem& files = *platform_.files;
  if (!library_path_.IsEmpty() && files.GetAttributes(library_path_) != kInvalidFileAttributes &&
      !DeleteFileForced(files, library_path_)) {
    log_.Line(u"Extension:cannot delete %s", library_path_);
  }
  if (!folder_.IsEmpty() && !DeleteFolderTree(files, folder_, false)) {
    log_.Line(u"Extension:cannot delete %s", folder_);
  }
  library_path_ = cc::Str(u"");
  folder_ = cc::Str(u"");
}

void ExtensionHook::FillBlock(ExtensionInfo* info, uintptr_t controlHandle) {
  std::memset(info, 0, sizeof(*info));
  Store(&info->mainWindow, host_.MainWindow());
  Store(&info->titleLabel, host_.FindControl(cc::Str(u"labBTitle")));
  Store(&info->subtitleLabel, host_.FindControl(cc::Str(u"labSTitle")));
  Store(&info->pageHost, host_.PageHostWindow());
  Store(&info->backButton, host_.FindControl(cc::Str(u"btnBack")));
  Store(&info->nextButton, host_.FindControl(cc::Str(u"btnNext")));
  Store(&info->cancelButton, host_.FindControl(cc::Str(u"btnCancel")));
  Store(&info->linkMain, host_.FindControl(cc::Str(u"linkMain")));
  Store(&info->copyMain, host_.FindControl(cc::Str(u"copyMain")));
  Store(&info->pageWindow, host_.PageWindow());
  Store(&info->control, controlHandle);
}

int ExtensionHook::Notify(int pageTypeId, int event, uintptr_t controlHandle) {
  if (!Loaded()) return 0;
  // Heap, not stack: the block is large, and a library may keep calling
  // back with it while it runs.
  auto info = std::make_unique<ExtensionInfo>();
  FillBlock(info.get(), controlHandle);
  return entry_(pageTypeId, event, info.get(), &ExtensionCallbackEntry);
}

void ExtensionHook::Unload() {
  if (!Loaded()) return;
  Notify(-1, kExtensionEventEnd, 0);
  entry_ = nullptr;
  library_.reset();
  if (g_loaded_hook == this) g_loaded_hook = nullptr;
  loaded_files_.clear();
  RemoveFiles();
}
