// Which links of a project's HTML text a click may open. The text comes with
// the setup, but a link is still a command run with the user's rights, so
// only web and mail addresses and files inside the installed application's
// folder are opened; programs, scripts, network paths and every other
// scheme are refused (and the caller logs the refusal).
#pragma once

#include <string>
#include <string_view>

namespace cc::win {

enum class LinkAction {
  kRefuse,       // not opened
  kOpenAddress,  // an http, https or mailto address, handed on unchanged
  kOpenFile,     // a file inside the application folder, by its full path
};

struct LinkDecision {
  LinkAction action = LinkAction::kRefuse;
  std::u16string target;  // the address, or the file's full path; empty when refused
  const char* reason = "";  // why it was refused, for the log ("" otherwise)
};

// Decides what a click on `href` may do. `appFolder` is the installed
// application's folder (a full path, with or without a final backslash);
// when it is empty no file link is opened. A file link is a full path
// ("C:\\App\\readme.txt", "file:///C:/App/readme.txt") or a path relative to
// the application folder; "." and ".." are resolved before the check.
// Refused: other schemes (javascript:, ms-settings:, ...), network and
// device paths ("\\\\server\\share", "\\\\?\\..."), drive-relative paths,
// paths leaving the folder, alternate data streams, names Windows would
// trim to something else ("run.exe."), and programs and scripts of every
// type Windows would run or hand to an interpreter, wherever they are.
LinkDecision DecideLink(std::u16string_view href, std::u16string_view appFolder);

}  // namespace cc::win
