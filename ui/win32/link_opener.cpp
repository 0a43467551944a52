#include "ui/win32/link_opener.h"

#include <windows.h>
#include <shellapi.h>

namespace cc::win {

bool ShellOpenLink(const LinkDecision& decision) {
  HINSTANCE result = ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(decision.target.c_str()),
                                   nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool OpenLink(const Str& target, const Str& appFolder, const LinkOpener& open, const LinkLogger& log) {
  LinkDecision decision = DecideLink(target.View(), appFolder.View());
  if (decision.action == LinkAction::kRefuse) {
    if (log) log(Str(u"Link not opened: ") + target + Str(u" (") + Str::FromUtf8(decision.reason) + Str(u")"));
    return false;
  }
  bool opened = open ? open(decision) : ShellOpenLink(decision);
  if (log) log(Str(opened ? u"Link opened: " : u"Link could not be opened: ") + Str(decision.target));
  return opened;
}

}  // namespace cc::win
