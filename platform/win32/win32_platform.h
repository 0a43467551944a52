// The real Platform: every interface mapped onto its Win32 calls. The
// runtime makes one at start-up, after installing the ANSI converter.
#pragma once

#include <memory>

#include "platform/platform.h"

// Makes cc::Str convert the ANSI code page with the system's converter
// (MultiByteToWideChar / WideCharToMultiByte with CP_ACP) instead of the
// built-in Windows-1252 one. Call once, first thing at start-up.
void InstallWin32AnsiConverter();

// A Platform whose interfaces are the Win32 implementations, every member
// set; it owns them. The wizard replaces `prompts` and `progress` with its
// own dialogs and installing page.
std::unique_ptr<Platform> CreateWin32Platform();
