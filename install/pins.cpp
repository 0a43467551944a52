#include "install/pins.h"

#include <memory>
#include <vector>

#include "install/install_session.h"
#include "install/shortcut_link.h"
#include "platform/csidl.h"
#include "platform/file_helpers.h"
#include "platform/os_version.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/progress.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_helpers.h"
#include "runtime/setup_log.h"

namespace {

const char16_t kPinnedSubfolder[] = u"Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar\\";

// The shell's string numbers of its two taskbar verbs.
constexpr int kPinVerbString = 5386;
constexpr int kUnpinVerbString = 5387;

// The values that the shell consults while it pins; cleared for the pin.
const char16_t kFileAssociationKey[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileAssociation";
const char16_t* const kFileAssociationValues[] = {u"AddRemoveApps", u"AddRemoveNames"};

constexpr int kStepMs = 100;
constexpr int kPinWaitSteps = 60;
constexpr int kFallbackWaitSteps = 30;
constexpr int kUnpinWaitSteps = 100;
constexpr int kSettleSteps = 5;

void Sleep(Platform& platform, int milliseconds) { platform.process->Sleep(milliseconds); }

void Pump(Platform& platform) { platform.progress->PumpMessages(); }

// Waits in 100 ms steps, pumping, until the file's existence is `exists`,
// at most `steps` times. Returns whether it came to be so.
bool WaitForFile(Platform& platform, const cc::Str& path, bool exists, int steps) {
  for (int i = 0; i < steps; ++i) {
    if (FileExists(*platform.files, path) == exists) return true;
    Sleep(platform, kStepMs);
    Pump(platform);
  }
  return FileExists(*platform.files, path) == exists;
}

void SettleSteps(Platform& platform, int steps) {
  for (int i = 0; i < steps; ++i) {
    Sleep(platform, kStepMs);
    Pump(platform);
  }
}

cc::Str FolderOf(const cc::Str& path) { return path.Substring(0, path.LastIndexOf(u'\\') + 1); }
cc::Str NameOf(const cc::Str& path) { return path.Substring(path.LastIndexOf(u'\\') + 1); }

bool SendUnpinCommand(Platform& platform, const cc::Str& file) {
  platform.shell->Execute(u"taskbarunpin", file, u"", u"", kShowShow);
  return true;
}

// The file-association values as they were, restored after the pin; a value
// that did not exist is deleted again instead of being left empty.
class ClearedAssociationValues {
 public:
  explicit ClearedAssociationValues(Registry& registry) {
    key_ = registry.OpenKey(RegRoot::kLocalMachine, kFileAssociationKey, RegAccess::kAll);
    if (!key_) return;
    for (const char16_t* name : kFileAssociationValues) {
      Saved saved;
      saved.existed = key_->QueryValue(name, &saved.value);
      saved_.push_back(saved);
      key_->SetValue(name, kRegSz, RegStringData(u""));
    }
  }
  ~ClearedAssociationValues() {
    if (!key_) return;
    for (size_t i = 0; i < saved_.size(); ++i) {
      const char16_t* name = kFileAssociationValues[i];
      if (saved_[i].existed) {
        key_->SetValue(name, saved_[i].value.type, saved_[i].value.data);
      } else {
        key_->DeleteValue(name);
      }
    }
  }
  ClearedAssociationValues(const ClearedAssociationValues&) = delete;
  ClearedAssociationValues& operator=(const ClearedAssociationValues&) = delete;

 private:
  struct Saved {
    bool existed = false;
    RegValue value;
  };
  std::unique_ptr<RegistryKey> key_;
  std::vector<Saved> saved_;
};

// Unpins through the pin's own link, then through a temporary link to the
// target, then (removing) by command, then through the target itself.
// Returns whether anything was unpinned or an unpin command was sent.
bool TryUnpin(Platform& platform, SetupLog& log, const cc::Str& target, const cc::Str& pinnedLink,
              const cc::Str& tempLink, bool removing) {
  bool url = IsUrlTarget(target);
  bool unpinned = false;
  bool sent = false;
  if (FileExists(*platform.files, pinnedLink) && PinToTaskbar(platform, log, pinnedLink, false) == 1) {
    WaitForFile(platform, pinnedLink, false, kUnpinWaitSteps);
    unpinned = true;
  }
  if (!unpinned) {
    CreateShellLink(platform, GetOsVersion(platform), tempLink, target, LinkFields());
    if (PinToTaskbar(platform, log, tempLink, false) == 1) {
      WaitForFile(platform, pinnedLink, false, kUnpinWaitSteps);
      unpinned = true;
    }
    if (!unpinned && removing) sent = SendUnpinCommand(platform, tempLink);
    if (!unpinned && !url && PinToTaskbar(platform, log, target, false) == 1) {
      SettleSteps(platform, kSettleSteps);
      unpinned = true;
    }
  }
  if (removing && !unpinned && !url) sent = SendUnpinCommand(platform, target);
  return unpinned || sent;
}

}  // namespace

cc::Str PinnedTaskbarFolder(Platform& platform) {
  cc::Str appData = GetSpecialFolder(*platform.system, kCsidlAppData);
  return appData.IsEmpty() ? appData : appData + cc::Str(kPinnedSubfolder);
}

int PinToTaskbar(Platform& platform, SetupLog& log, const cc::Str& path, bool pin) {
  Shell& shell = *platform.shell;
  cc::Str verb = shell.ShellString(pin ? kPinVerbString : kUnpinVerbString);
  log.Line(u"Taskbar Pin:%s, Link:%s", verb, path);
  if (verb.IsEmpty()) return 0;
  std::vector<cc::Str> verbs;
  if (!shell.ItemVerbs(FolderOf(path), NameOf(path), &verbs)) return 0;
  Sleep(platform, kStepMs);
  for (const cc::Str& offered : verbs) {
    if (offered != verb) continue;
    log.Line(u"Taskbar Pin OK:%s, Link:%s", verb, path);
    return shell.DoItemVerb(FolderOf(path), NameOf(path), verb) ? 1 : 0;
  }
  return 0;
}

void UnpinFromTaskbar(Platform& platform, SetupLog& log, const cc::Str& target, const cc::Str& pinnedLink,
                      const cc::Str& pinName, bool removing) {
  const cc::Str extension = IsUrlTarget(target) ? cc::Str(u".website") : cc::Str(u".lnk");
  const cc::Str tempLink = GetTempFolder(*platform.system) + pinName + extension;
  if (TryUnpin(platform, log, target, pinnedLink, tempLink, removing)) {
    platform.shell->NotifyChange(kChangeAssocChanged, kChangeFlagFlush, cc::Str());
    platform.shell->NotifyChange(kChangeUpdateDir, kChangeFlagPath | kChangeFlagFlush, FolderOf(tempLink));
    platform.shell->NotifyChange(kChangeUpdateDir, kChangeFlagPath | kChangeFlagFlush, FolderOf(pinnedLink));
    SettleSteps(platform, kSettleSteps);
  }
  DeleteFileForced(*platform.files, tempLink);
}

void PinShortcut(InstallSession& session, const cc::Str& linkPath, const cc::Str& linkName,
                 const cc::Str& target, const LinkFields& fields) {
  Platform& platform = session.platform;
  const bool url = IsUrlTarget(target);
  const cc::Str pinnedLink =
      PinnedTaskbarFolder(platform) + linkName + (url ? cc::Str(u".website") : cc::Str(u".lnk"));
  session.log.Line(u"Taskbar Pin:%s, Link:%s", linkName, pinnedLink);
  if (FileExists(*platform.files, pinnedLink)) {
    UnpinFromTaskbar(platform, session.log, target, pinnedLink, linkName, true);
    if (FileExists(*platform.files, pinnedLink)) {
      UnpinFromTaskbar(platform, session.log, linkPath, pinnedLink, linkName, true);
    }
    DeleteFileForced(*platform.files, pinnedLink);
    if (!FileExists(*platform.files, linkPath)) {
      CreateShellLink(platform, session.os_index, linkPath, target, fields);
    }
  }
  {
    ClearedAssociationValues cleared(*platform.registry);
    if (PinToTaskbar(platform, session.log, linkPath, true) == 1) {
      WaitForFile(platform, pinnedLink, true, kPinWaitSteps);
    }
    Sleep(platform, kStepMs);
    Pump(platform);
    if (!FileExists(*platform.files, pinnedLink)) {
      session.log.Line(u"Taskbar Pin:%s", linkPath);
      platform.shell->Execute(u"TaskbarPin", linkPath, u"", u"", kShowShow);
      WaitForFile(platform, pinnedLink, true, kFallbackWaitSteps);
    }
    if (!FileExists(*platform.files, pinnedLink) && !url) {
      PinToTaskbar(platform, session.log, target, true);
      WaitForFile(platform, pinnedLink, true, kFallbackWaitSteps);
    }
  }
  session.record.AddLine(u"Pin?=", linkName);
  session.record.AddLine(u"PinPath?=", target);
}
