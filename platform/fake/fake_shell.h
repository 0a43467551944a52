// Records every shell call. A link is also written as a small file into the
// in-memory file system (when one is given), so that it exists, can be
// removed again, and fails like the real one when its folder is missing.
//
// Taskbar pins are scriptable: once a taskbar folder is set, the shell
// offers "pin" on files that are not pinned and "unpin" on those that are,
// and a pin shows up as a link file in that folder at once, only after a
// number of Tick() calls (a test ticks from the message pump), or never.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/shell.h"

class FakeFileSystem;

// The shell's string numbers of the two taskbar verbs.
inline constexpr int kShellStringPinToTaskbar = 5386;
inline constexpr int kShellStringUnpinFromTaskbar = 5387;

enum class FakePinMode { kAtOnce, kLate, kNever };

class FakeShell : public Shell {
 public:
  explicit FakeShell(FakeFileSystem* files);
  bool CreateLink(const ShellLinkSpec& link) override;
  cc::Str ShellString(int id) override;
  bool ItemVerbs(const cc::Str& folder, const cc::Str& name, std::vector<cc::Str>* verbs) override;
  bool DoItemVerb(const cc::Str& folder, const cc::Str& name, const cc::Str& verb) override;
  bool Execute(const cc::Str& verb, const cc::Str& file, const cc::Str& parameters,
               const cc::Str& folder, int show) override;
  bool ExecuteAndWait(const cc::Str& verb, const cc::Str& file, const cc::Str& parameters,
                      int show) override;
  void NotifyChange(uint32_t event, uint32_t flags, const cc::Str& path) override;

  // The links created, in order (failed attempts are not kept).
  const std::vector<ShellLinkSpec>& Links() const { return links_; }
  // The link saved at `path` (letter case ignored), or null.
  const ShellLinkSpec* FindLink(const cc::Str& path) const;
  // Makes every later CreateLink fail.
  void SetFailLinks(bool fail) { fail_links_ = fail; }

  // Every call but CreateLink, in order, as UTF-8 text:
  //   "verbs FOLDER|NAME", "doit FOLDER|NAME|VERB", "execute VERB|FILE|PARAMETERS|FOLDER|SHOW",
  //   "execute-wait VERB|FILE|PARAMETERS|SHOW", "notify EVENT|FLAGS|PATH" (numbers in hex).
  const std::vector<std::string>& Calls() const { return calls_; }
  // How many recorded calls begin with `prefix`.
  int CountCalls(const std::string& prefix) const;

  // A string of the shell's table; an empty text removes it. The two
  // taskbar verbs are there from the start ("Pin to tas&kbar",
  // "Unpin from tas&kbar").
  void SetShellString(int id, const cc::Str& text);
  // The folder where pinned links appear (with a final backslash). Without
  // one, no taskbar verb is offered.
  void SetTaskbarFolder(const cc::Str& folder) { taskbar_folder_ = folder; }
  // How a pin asked for through the item's verb behaves; kLate pins appear
  // after `ticks` calls of Tick().
  void SetPinMode(FakePinMode mode, int ticks = 0);
  // Whether Execute with the verb "TaskbarPin" pins too, at once (off by
  // default, so that a test can tell the verb from the fall-back).
  void SetExecutePins(bool pins) { execute_pins_ = pins; }
  // Advances late pins by one step.
  void Tick();
  // The pinned link's file name for an item: a ".lnk" or ".website" keeps
  // its name, anything else becomes its base name + ".lnk".
  static cc::Str PinnedName(const cc::Str& name);

 private:
  bool ItemExists(const cc::Str& folder, const cc::Str& name) const;
  bool IsPinned(const cc::Str& name) const;
  void Pin(const cc::Str& name, const cc::Str& source);
  void Unpin(const cc::Str& name);
  void WritePinnedLink(const cc::Str& pinnedName, const cc::Str& source);

  struct LatePin {
    cc::Str name;
    cc::Str source;
    int ticks_left;
  };

  FakeFileSystem* files_;
  std::vector<ShellLinkSpec> links_;
  bool fail_links_ = false;
  std::vector<std::string> calls_;
  std::map<int, cc::Str> strings_;
  cc::Str taskbar_folder_;
  FakePinMode pin_mode_ = FakePinMode::kAtOnce;
  int pin_ticks_ = 0;
  bool execute_pins_ = false;
  std::vector<LatePin> late_pins_;
};
