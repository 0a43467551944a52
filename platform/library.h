// Loading a library the setup was handed as bytes (a project's extension):
// the file is written and held so that no other program can change, replace
// or delete it before it is loaded, and then exactly that file is loaded.
#pragma once

#include <memory>
#include <string_view>

#include "core/str.h"

// A library loaded into the process; unloaded when the object is destroyed.
class Library {
 public:
  virtual ~Library() = default;
  // The address of the exported function `name`, or null when the library
  // exports none of that name.
  virtual void* Export(const char* name) = 0;
};

// A written file that stays open, readable by others but not writable,
// renamable or deletable, until the object is destroyed (which closes it
// and leaves the file on disk).
class HeldFile {
 public:
  virtual ~HeldFile() = default;
};

class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  // Creates the new file `path` (fails when anything exists there), writes
  // `bytes`, and holds it (see HeldFile), having read it back through the
  // held handle to make sure it holds exactly `bytes`. Null with `*reason`
  // set when any step fails; a file it created is deleted again then.
  virtual std::unique_ptr<HeldFile> WriteHeld(const cc::Str& path, std::string_view bytes,
                                              cc::Str* reason) = 0;
  // Loads the file `path` as a library (its own folder first for the
  // libraries it needs). Null with `*reason` set (the system's message,
  // such as "not a valid application") when it cannot be loaded.
  virtual std::unique_ptr<Library> Load(const cc::Str& path, cc::Str* reason) = 0;
};
