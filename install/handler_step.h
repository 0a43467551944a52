// The handler step: the second pass over the shortcut items
// ("s.i.Short.%d"), after every file is in place, that makes each item's
// program the handler of the file types the user kept checked
// (install/associations.h writes one association) and runs it as the
// service the project asks for (install/services.h creates one).
// Everything attempted is recorded ("Assoc?=", "Service?=" with
// "ServiceFile?="), whatever its result, so that the uninstall removes
// whatever part was made.
#pragma once

#include <cstdint>

struct InstallSession;

// Bits of "s.i.Short.%d.Flag" that this pass reads.
inline constexpr uint32_t kShortServiceOffered = 0x4000000;
inline constexpr uint32_t kShortServiceAlways = 0x8000000;

// For each item that passes the OS test of "s.i.Short.%d.OS" and whose
// program exists (or is a URL: "http://", "https://", "ftp://"): associates
// each offered extension "Ret.Shortcut.Ext%d.%d" whose
// "Ret.Shortcut.chkExt%d.%d" is true (default), with status lines
// description + "[" + program + "]:\r\n    " then ".ext; " per extension and
// a closing "\r\n"; then creates the service when kShortServiceAlways is
// set, or kShortServiceOffered is set and "Ret.Shortcut.chkService%d" is
// true (default), with the status line "Create Service:" + name. An item
// whose service has no name gets no service and no record lines. Failures
// are logged; the install goes on.
void CreateAssociationsAndServices(InstallSession& session);
