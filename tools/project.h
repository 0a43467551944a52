// Reads a project folder into the list of payload entries.
//
// A project folder holds:
//   pjcfg.ini    the configuration (UTF-8), stored as "pjcfg.ini"
//   unins.exe    optional: the uninstaller, stored as "unins.exe"
//   user.dll     optional: the extension library, stored as "user.dll"
//   payload/     optional: documents and images, stored under their paths
//                relative to payload/ with forward slashes
//                ("payload/images/top.bmp" becomes "images/top.bmp")
//   the sources of the file items: a file item (type 5) whose entry name is
//                not "<None>" names its source file with "s.f.N.Item.Src",
//                relative to the project folder; it is stored under the
//                entry name ("12*app.exe").
//
// For each file item the packer fills in what the runtime needs and the
// vendor left out: "s.f.N.Item.Size" (bytes) and "s.f.N.Item.Time" (the
// source's modification time as Windows file time, high and low 32 bits),
// and for each component "s.f.N.Item.Size" as the sum of its own files. These
// keys are appended to the stored pjcfg.ini under a "[s.f]" section; the
// vendor's text is otherwise kept (a UTF-8 byte-order mark is dropped so that
// a section header on the first line still reads as one).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/zip_writer.h"

namespace pack {

struct ProjectOptions {
  // Reproducible builds: when set, no time stored (entry times, item times)
  // is later than this many seconds since 1970.
  std::optional<int64_t> source_date_epoch;
  // A source larger than this is refused.
  uint64_t max_source_bytes = kMaxPayloadBytes;
};

struct Project {
  // In archive order: pjcfg.ini, unins.exe, user.dll, payload/ files by
  // name, then the file items' sources in item order.
  std::vector<ZipSource> entries;
  // The stored configuration text (UTF-8), as in entries[0].
  std::string config;
  // Number of keys the packer appended to the configuration.
  int added_keys = 0;
};

// Reads the project in `dir`. Returns true on success. On failure returns
// false and sets *error to a message naming the file or the item and the
// cause: a missing or non-UTF-8 pjcfg.ini, a file item without a source, a
// source that is missing, unreadable, not a file or too large, two sources
// for one entry name (names compare without regard to ASCII letter case, as
// the runtime looks them up), a payload file name that is not UTF-8, a
// "[Ret.Shortcut]" "Ext<i>.Count" that does not match its "Ext<i>.<k>"
// entries or an entry that is not an extension with its leading dot.
bool ReadProject(const std::filesystem::path& dir, const ProjectOptions& options, Project* project,
                 std::string* error);

// A modification time as the two decimal halves of a Windows file time
// (100 ns units since 1601), each as a signed 32-bit number: "hi;\tlo" with
// the item separator written as the escape that the configuration parser
// turns into a tab.
std::string FileTimeText(int64_t unix_seconds, int32_t nanoseconds);

}  // namespace pack
