// Opening the payload at start-up and reading named payload files, with a
// fall-back to the disk for running the program without a payload. Every
// call takes a complete platform (platform/platform.h).
#pragma once

#include <cstdint>
#include <string>

#include "core/str.h"
#include "runtime/payload_archive.h"

class Platform;
namespace cc {
class KeyArr;
}

// The resource type and id of the payload in the program's own module.
inline constexpr char16_t kPayloadResourceType[] = u"BIN";
inline constexpr int kPayloadResourceId = 2;
// The payload entry that holds the project configuration.
inline constexpr char16_t kConfigEntryName[] = u"pjcfg.ini";
// The configuration key naming the project's source folder, used when a
// payload file is read from disk.
inline constexpr char16_t kEditLocBaseKey[] = u"s.i.Comp.editLocBase";

// The payload of the running program: the archive opened on the resource's
// bytes, read in place in the module (a copy only where the module cannot
// show them in place). Owned by the main form for the whole run; while it is the
// process-wide payload (see CurrentPayload) it stays registered there until
// it is closed or destroyed.
class LoadedPayload {
 public:
  LoadedPayload() = default;
  ~LoadedPayload();
  LoadedPayload(const LoadedPayload&) = delete;
  LoadedPayload& operator=(const LoadedPayload&) = delete;

  // The open archive; null before a successful load and after Close.
  PayloadArchive* archive() const { return archive_.get(); }
  // Releases the archive and the resource bytes; unregisters the archive
  // when it is the process-wide payload.
  void Close();

 private:
  friend bool LoadPayloadAtStartup(Platform& platform, cc::KeyArr& config, LoadedPayload* payload,
                                   uint32_t* status);
  std::string resource_;  // the copy, when the resource could not be viewed in place
  PayloadArchivePtr archive_;
};

// Start-up: views resource "BIN"/2 of the running module in place through
// platform.resources (reads a copy when it cannot be viewed), opens it with the payload password
// (cc::PayloadPassword()) into `payload` (closing what it held), makes it
// the process-wide payload, and parses the entry "pjcfg.ini" (UTF-8; a
// byte-order mark is dropped) into `config`. Returns true when the resource
// was present, whether or not the archive opened and held a configuration;
// false when there is no resource (nothing is changed then). `*status`
// (when given) receives kPayloadOk when the configuration was parsed,
// kPayloadNotFound when the resource or the entry is missing, or the status
// with which opening the archive or reading the entry failed. The
// configuration is parsed only when the entry was read in full and its
// CRC-32 matched: damaged or wrongly deciphered bytes are never parsed.
bool LoadPayloadAtStartup(Platform& platform, cc::KeyArr& config, LoadedPayload* payload,
                          uint32_t* status = nullptr);

// The archive that LoadPayloadFile and the install engine read: set by
// LoadPayloadAtStartup, null when no payload is open.
PayloadArchive* CurrentPayload();
// Replaces the process-wide payload (null clears it); returns the previous
// one. Its owner keeps owning it.
PayloadArchive* SetCurrentPayload(PayloadArchive* archive);

// Makes `archive` the process-wide payload for the lifetime of the object
// and then restores the previous one; for tests and short-lived owners.
class ScopedCurrentPayload {
 public:
  explicit ScopedCurrentPayload(PayloadArchive* archive)
      : previous_(SetCurrentPayload(archive)) {}
  ~ScopedCurrentPayload() { SetCurrentPayload(previous_); }
  ScopedCurrentPayload(const ScopedCurrentPayload&) = delete;
  ScopedCurrentPayload& operator=(const ScopedCurrentPayload&) = delete;

 private:
  PayloadArchive* previous_;
};

// Reads the whole payload file `name` into `*bytes`:
//  1. from `archive` (the process-wide payload when null is passed through
//     the overload below) when it holds the entry (letter case ignored);
//  2. otherwise from disk: `name` joined to the configuration's
//     "s.i.Comp.editLocBase" (unless that is empty or `name` is absolute);
//     when no file is there, `name` resolved against the program's folder,
//     or its parent when the program's folder has neither a "Lang\" nor a
//     "Theme\" subfolder.
// Returns true with the bytes (an empty file gives true and no bytes, which
// callers treat as missing). Returns false, `*bytes` emptied, when the entry
// is in the archive but cannot be read in full (wrong password, damage) or
// is too large to allocate, or when the disk file cannot be read. `config`
// may be null (no source folder then).
bool LoadPayloadFile(PayloadArchive* archive, Platform& platform, const cc::KeyArr* config,
                     const cc::Str& name, std::string* bytes);
bool LoadPayloadFile(Platform& platform, const cc::KeyArr* config, const cc::Str& name,
                     std::string* bytes);

// The path on disk that LoadPayloadFile reads `name` from when the payload
// lacks it (step 2 above).
cc::Str ResolvePayloadFileOnDisk(Platform& platform, const cc::KeyArr* config,
                                 const cc::Str& name);
