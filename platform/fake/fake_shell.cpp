#include "platform/fake/fake_shell.h"

#include <string>

#include "platform/fake/fake_file_system.h"

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
