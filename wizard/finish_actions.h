// The window-free part of the finish page's actions: where the program to
// start, the readme and the program run before the finish page are, the
// project's script with the destination filled in, the file it is written
// to and the command that runs it.
#pragma once

#include "core/key_arr.h"
#include "core/str.h"

class Platform;

namespace wizard {

// Script kinds of key base + ".BatTy".
inline constexpr int kScriptVbs = 1;

// A path the project gives for a file to start or open: a folder macro,
// optionally followed by "\\" and the rest ("<Application Folder>\\app.exe"),
// or a full path as it is. Empty when it names nothing: an empty value, a
// relative name, or a macro that does not resolve (a file in the root of
// whatever drive is current would be a guess).
cc::Str ResolveFinishPath(const cc::Str& value, cc::KeyArr& config, Platform& platform);

// The script `text` with every "[#TARGETDIR#]" replaced by `folder` and
// every "[#TARGETDRIVER#]" by the folder's first character.
cc::Str FillScriptText(const cc::Str& text, const cc::Str& folder);

struct ScriptPlan {
  cc::Str file;         // folder + "~~unins.vbs" or "~~unins.bat"
  cc::Str commandLine;  // "cscript //NOLOGO " + file, or the file itself
};

// Where a script of `kind` goes in `folder` (ending in "\\") and how it runs.
ScriptPlan PlanScript(int kind, const cc::Str& folder);

// Writes the script text in the system's ANSI code page, without a
// byte-order mark, replacing any file of that name. False when it cannot be
// written.
bool WriteScriptFile(Platform& platform, const cc::Str& file, const cc::Str& text);

}  // namespace wizard
