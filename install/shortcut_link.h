// Link files as the shortcut, pin and tile steps make them: the text forms
// of web links (".url", ".website") and shell links (".lnk") with the icon
// rules and the application-model properties that newer systems read.
#pragma once

#include <cstdint>

#include "core/str.h"
#include "platform/shell.h"

class Platform;

// The property set of the application-model properties.
inline constexpr char16_t kAppUserModelFormat[] = u"{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}";

// What a link holds besides its path and target.
struct LinkFields {
  cc::Str working_folder;    // created (that folder only) when missing
  cc::Str description;
  cc::Str arguments;
  cc::Str icon_path;
  int icon_index = -1;       // -1: none given
  int show_command = kShowNormal;
  uint16_t hot_key = 0;
};

// `name` (a link's configured name) as the link's file name: the
// characters no file name can hold (":", "*", "?", '"', "<", ">", "|" and
// control characters) are left out, so "Notes: read me" becomes
// "Notes read me" rather than a stream of a file "Notes". Backslashes stay:
// they name a sub-folder.
cc::Str LinkFileName(const cc::Str& name);

// True when `target` is a web address: it begins with "http://",
// "https://" or "ftp://" (letter case matters).
bool IsUrlTarget(const cc::Str& target);

// The shell link for `target`: the fields of `fields`, the icon chosen by
// the rules (an icon index of 0 or more: the target with that index; else a
// non-empty icon path with index 0; else an ".exe" target with index 0; else
// none) and, on OS codes above 13, the application-model property 8 = true,
// with 9 = true and 12 = 1 added on OS code 16.
ShellLinkSpec MakeShellLinkSpec(const cc::Str& linkPath, const cc::Str& target,
                                const LinkFields& fields, int osIndex);

// Writes the link `linkPath` to `target`, replacing an existing file. A path
// ending in ".url" becomes "[InternetShortcut]" text, one ending in
// ".website" the same with the pinned-site header, both in the ANSI code
// page; any other path a shell link (MakeShellLinkSpec), whose missing
// working folder is created first. Returns whether the file was written;
// false also when the platform has no shell.
bool CreateShellLink(Platform& platform, int osIndex, const cc::Str& linkPath, const cc::Str& target,
                     const LinkFields& fields);

// The text of a ".url" (`website` false) or ".website" file for `url`.
cc::Str WebLinkText(const cc::Str& url, bool website);
