// Opening a link that a user clicked in a page's text: the link policy
// decides, an allowed target is opened once with the shell, and both
// outcomes are reported for the setup log. Windows flavour only.
#pragma once

#include <functional>

#include "core/str.h"
#include "ui/link_policy.h"

namespace cc::win {

// Opens a decided target (an address or a full file path); true when the
// shell took it.
using LinkOpener = std::function<bool(const LinkDecision& decision)>;
// Receives one line for the setup log.
using LinkLogger = std::function<void(const Str& line)>;

// The shell's "open" verb on the decided target; false when it failed.
bool ShellOpenLink(const LinkDecision& decision);

// Decides `target` against the installed application's folder `appFolder`
// and opens an allowed one with `open` (ShellOpenLink when empty). Logs
// "Link opened: X", "Link could not be opened: X" or "Link not opened: X
// (reason)" through `log` (when set). Returns true when it was opened.
bool OpenLink(const Str& target, const Str& appFolder, const LinkOpener& open, const LinkLogger& log);

}  // namespace cc::win
