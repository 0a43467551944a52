#include "platform/fake/fake_shell.h"

#include <cstdio>
#include <string>

#include "platform/fake/fake_file_system.h"

namespace {

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

cc::Str FolderOf(const cc::Str& path) { return path.Substring(0, path.LastIndexOf(u'\\') + 1); }

cc::Str NameOf(const cc::Str& path) { return path.Substring(path.LastIndexOf(u'\\') + 1); }

}  // namespace

FakeShell::FakeShell(FakeFileSystem* files) : files_(files) {
  strings_[kShellStringPinToTaskbar] = u"Pin to tas&kbar";
  strings_[kShellStringUnpinFromTaskbar] = u"Unpin from tas&kbar";
}

bool FakeShell::CreateLink(const ShellLinkSpec& link) {
  if (fail_links_ || link.link_path.IsEmpty()) return false;
  if (files_) {
    auto file = files_->Open(link.link_path, OpenMode::kCreate);
    if (!file) return false;
    std::string content = "link to " + link.target.ToUtf8();
    if (!file->Write(content.data(), static_cast<int>(content.size())) || !file->Close()) return false;
  }
  for (ShellLinkSpec& existing : links_) {
    if (existing.link_path.Equals(link.link_path, true)) {
      existing = link;
      return true;
    }
  }
  links_.push_back(link);
  return true;
}

const ShellLinkSpec* FakeShell::FindLink(const cc::Str& path) const {
  for (const ShellLinkSpec& link : links_) {
    if (link.link_path.Equals(path, true)) return &link;
  }
  return nullptr;
}

cc::Str FakeShell::ShellString(int id) {
  auto found = strings_.find(id);
  return found == strings_.end() ? cc::Str(u"") : found->second;
}

void FakeShell::SetShellString(int id, const cc::Str& text) {
  if (text.IsEmpty()) {
    strings_.erase(id);
  } else {
    strings_[id] = text;
  }
}

void FakeShell::SetPinMode(FakePinMode mode, int ticks) {
  pin_mode_ = mode;
  pin_ticks_ = ticks;
}

int FakeShell::CountCalls(const std::string& prefix) const {
  int count = 0;
  for (const std::string& call : calls_) count += call.compare(0, prefix.size(), prefix) == 0;
  return count;
}

cc::Str FakeShell::PinnedName(const cc::Str& name) {
  if (name.EndsWith(u".lnk", true) || name.EndsWith(u".website", true)) return name;
  int dot = name.LastIndexOf(u'.');
  return (dot > 0 ? name.Substring(0, dot) : name) + cc::Str(u".lnk");
}

bool FakeShell::ItemExists(const cc::Str& folder, const cc::Str& name) const {
  std::string bytes;
  return files_ && !name.IsEmpty() && files_->GetFileBytes(folder + name, &bytes);
}

bool FakeShell::IsPinned(const cc::Str& name) const {
  std::string bytes;
  return files_ && files_->GetFileBytes(taskbar_folder_ + PinnedName(name), &bytes);
}

bool FakeShell::ItemVerbs(const cc::Str& folder, const cc::Str& name, std::vector<cc::Str>* verbs) {
  calls_.push_back("verbs " + folder.ToUtf8() + "|" + name.ToUtf8());
  if (!ItemExists(folder, name)) return false;
  verbs->clear();
  verbs->push_back(u"&Open");
  if (!taskbar_folder_.IsEmpty()) {
    cc::Str verb = ShellString(IsPinned(name) ? kShellStringUnpinFromTaskbar : kShellStringPinToTaskbar);
    if (!verb.IsEmpty()) verbs->push_back(verb);
  }
  verbs->push_back(u"P&roperties");
  return true;
}

bool FakeShell::DoItemVerb(const cc::Str& folder, const cc::Str& name, const cc::Str& verb) {
  std::vector<cc::Str> offered;
  if (!ItemVerbs(folder, name, &offered)) return false;
  calls_.back() = "doit " + folder.ToUtf8() + "|" + name.ToUtf8() + "|" + verb.ToUtf8();
  bool found = false;
  for (const cc::Str& candidate : offered) found = found || candidate == verb;
  if (!found) return false;
  if (verb == ShellString(kShellStringPinToTaskbar)) Pin(name, folder + name);
  if (verb == ShellString(kShellStringUnpinFromTaskbar)) Unpin(name);
  return true;
}

bool FakeShell::Execute(const cc::Str& verb, const cc::Str& file, const cc::Str& parameters,
                        const cc::Str& folder, int show) {
  calls_.push_back("execute " + verb.ToUtf8() + "|" + file.ToUtf8() + "|" + parameters.ToUtf8() +
                   "|" + folder.ToUtf8() + "|" + Hex(static_cast<uint32_t>(show)));
  if (!ItemExists(FolderOf(file), NameOf(file))) return false;
  if (!taskbar_folder_.IsEmpty()) {
    if (execute_pins_ && verb.Equals(u"TaskbarPin", true)) WritePinnedLink(PinnedName(NameOf(file)), file);
    if (verb.Equals(u"taskbarunpin", true)) Unpin(NameOf(file));
  }
  return true;
}

bool FakeShell::ExecuteAndWait(const cc::Str& verb, const cc::Str& file, const cc::Str& parameters,
                               int show) {
  calls_.push_back("execute-wait " + verb.ToUtf8() + "|" + file.ToUtf8() + "|" +
                   parameters.ToUtf8() + "|" + Hex(static_cast<uint32_t>(show)));
  return ItemExists(FolderOf(file), NameOf(file));
}

void FakeShell::NotifyChange(uint32_t event, uint32_t flags, const cc::Str& path) {
  calls_.push_back("notify " + Hex(event) + "|" + Hex(flags) + "|" + path.ToUtf8());
}

void FakeShell::Pin(const cc::Str& name, const cc::Str& source) {
  if (pin_mode_ == FakePinMode::kAtOnce) WritePinnedLink(PinnedName(name), source);
  if (pin_mode_ == FakePinMode::kLate) late_pins_.push_back({PinnedName(name), source, pin_ticks_});
}

void FakeShell::Unpin(const cc::Str& name) {
  if (files_) files_->RemoveFile(taskbar_folder_ + PinnedName(name));
}

void FakeShell::Tick() {
  std::vector<LatePin> waiting;
  for (LatePin& pin : late_pins_) {
    if (--pin.ticks_left <= 0) {
      WritePinnedLink(pin.name, pin.source);
    } else {
      waiting.push_back(pin);
    }
  }
  late_pins_ = std::move(waiting);
}

void FakeShell::WritePinnedLink(const cc::Str& pinnedName, const cc::Str& source) {
  if (files_) files_->PutFile(taskbar_folder_ + pinnedName, "pinned " + source.ToUtf8());
}
