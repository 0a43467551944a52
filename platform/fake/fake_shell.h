// Records every shell call. A link is also written as a small file into the
// in-memory file system (when one is given), so that it exists, can be
// removed again, and fails like the real one when its folder is missing.
#pragma once

#include <vector>

#include "platform/shell.h"

class FakeFileSystem;

class FakeShell : public Shell {
 public:
  explicit FakeShell(FakeFileSystem* files) : files_(files) {}
  bool CreateLink(const ShellLinkSpec& link) override;

  // The links created, in order (failed attempts are not kept).
  const std::vector<ShellLinkSpec>& Links() const { return links_; }
  // The link saved at `path` (letter case ignored), or null.
  const ShellLinkSpec* FindLink(const cc::Str& path) const;
  // Makes every later CreateLink fail.
  void SetFailLinks(bool fail) { fail_links_ = fail; }

 private:
  FakeFileSystem* files_;
  std::vector<ShellLinkSpec> links_;
  bool fail_links_ = false;
};
