// The state of one DoUninstall call, shared by the driver and its steps.
#pragma once

#include <cstdint>

#include "core/key_arr.h"
#include "core/str.h"
#include "install/full_path.h"

struct InstallSession;
class Platform;
class Progress;
class SetupLog;

// The kinds of record entries, in the order they are worked through.
enum UninstallKind {
  kKindService,
  kKindPin,
  kKindFile,
  kKindAssoc,
  kKindReg,
  kKindIni,
  kKindShort,
  kKindDir,
  kKindCount,
};

// What an earlier remove-all or keep-all answer decided for the rest of the
// call.
enum class SharedChoice { kAsk, kRemoveAll, kKeepAll };

struct UninstallRun {
  UninstallRun(InstallSession& session, const cc::KeyArr& record, int askShared);

  InstallSession& session;
  Platform& platform;
  Progress& progress;
  SetupLog& log;  // the session's
  const cc::KeyArr& record;
  bool ask_shared;
  cc::Str app_name;
  int counts[kKindCount] = {};
  int64_t total = 1;
  int64_t begun = 0;
  SharedChoice shared_choice = SharedChoice::kAsk;

  // An item begins: the bar moves to begun x 100 / total.
  void BeginItem();
  // Sets both labels, then pumps messages.
  void Show(const cc::Str& status, const cc::Str& detail);
  void Pump();
  // Blocks for `ms` milliseconds (when the platform can wait).
  void Wait(int ms);
  // The record's text for `format` (with one %d) and `index`; empty (never
  // null) when missing.
  cc::Str Text(const char16_t* format, int index) const;
  // The record's integer for `format` and `index`, or `fallback`.
  int Number(const char16_t* format, int index, int fallback) const;
  // Deletes the file `path` names when it is a full path (read-only or
  // not); a relative one would reach into whatever folder is current.
  void DeleteListedFile(const cc::Str& path);
  // Stores the error for "Ret.ErrorInfo" and returns `result`.
  int Fail(int result, const cc::Str& path);
};

// The number of entries of a kind as the record states it ("Log.File.Count"
// and so on), limited to 0 .. the number of keys in the record: a damaged
// count never makes the driver walk past what the record can hold.
int RecordCount(const cc::KeyArr& record, const char16_t* countKey);

// True for a name that may stand for one file in a folder: not empty, not
// "." or "..", and without separators, colons or wildcards.
bool IsPlainFileName(const cc::Str& name);
