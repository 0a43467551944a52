// Shell links through the shell's link object (IShellLinkW) saved with
// IPersistFile.
#pragma once

#include "platform/shell.h"

class Win32Shell : public Shell {
 public:
  bool CreateLink(const ShellLinkSpec& link) override;
};
