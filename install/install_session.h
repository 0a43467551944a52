// The state of one install run, shared by the driver and its steps: what
// the installing page lends the engine (the platform with its progress and
// prompts, the configuration store that also holds the results, the open
// payload) and what the run keeps while it works.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/key_arr.h"
#include "core/str.h"
#include "install/uninstall_record.h"
#include "runtime/payload_archive.h"
#include "runtime/setup_log.h"

class PayloadArchive;
class Platform;
class Progress;
class Prompts;

// Files are copied in blocks of this size through one buffer of
// kTransferBufferSize bytes, allocated for the file step only.
inline constexpr int kCopyBlockSize = static_cast<int>(kPayloadBlockSize);
// A few spare bytes past the block: the copy never fills them; the buffer
// keeps the size the file step has always allocated (0x19005).
inline constexpr int kTransferBufferSpare = 5;
inline constexpr int kTransferBufferSize = kCopyBlockSize + kTransferBufferSpare;
static_assert(kTransferBufferSize == 0x19005);

// Where the file step's time goes, for the benchmark (microseconds).
struct CopyTimings {
  int64_t read_us = 0;    // deciphering and inflating payload blocks
  int64_t write_us = 0;   // writing blocks
  int64_t flush_us = 0;   // flushing after every block
  // The calling thread waiting: for a decoded block, for the writes of a
  // file to end.
  int64_t wait_read_us = 0;
  int64_t wait_write_us = 0;
  int64_t blocks = 0;
  int64_t files = 0;
};

// `part` of `whole` in whole percent, 0 to 100 (a `whole` below 1 counts
// as 1). In 64 bits: "bytes done x 100" leaves 32 bits from 21 MB on.
int PercentOf(int64_t part, int64_t whole);

struct InstallSession {
  // `platform` must have files, system, registry, shell, prompts and
  // progress; `archive` may be null (no file is extracted then); `log` is
  // the setup's log (one never opened keeps nothing).
  InstallSession(Platform& platform, cc::KeyArr& store, PayloadArchive* archive, SetupLog& log)
      : platform(platform), store(store), archive(archive), log(log) {}

  Platform& platform;
  cc::KeyArr& store;
  PayloadArchive* archive;
  SetupLog& log;

  cc::Str app_folder;          // "Ret.Location.Path", ending in "\\"
  cc::Str app_name;            // page text ".s.c.Var.AppName"
  RecordText record;
  int os_index = 0;            // OsIndex of the running system
  int is64 = 0;
  cc::Str start_menu_folder;   // empty when "Ret.Menu.Skip" is set
  bool write_uninstaller = true;
  bool uninstaller_written = false;  // "unins.exe" is in the application folder
  // The file step ran to its end. A run that stops before has made files
  // and folders only, which no record names (see cancel_rollback.h).
  bool files_in_place = false;
  // The overwrite question's remembered answer (0 when none yet).
  int overwrite_answer = 0;
  std::vector<unsigned char> transfer_buffer;
  // Progress of the file step. 64-bit: installs beyond 2 GB must not wrap.
  int64_t bytes_done = 0;
  int64_t bytes_total = 1;
  // The record of an earlier installation, read once per run.
  std::unique_ptr<cc::KeyArr> earlier_record;
  // Removes the earlier installation that `record` describes; returns 0, or
  // a negative value with "Ret.ErrorInfo" set. The uninstall engine, which
  // builds on this library, supplies it (uninstall/earlier_installation.h);
  // without it an earlier installation is left in place.
  std::function<int(InstallSession&, const cc::KeyArr&)> remove_earlier_installation;
  CopyTimings timings;

  Progress& progress() const;
  Prompts& prompts() const;
  bool Canceling() const { return store.GetBool(u"Ret.Canceling", false); }
};
