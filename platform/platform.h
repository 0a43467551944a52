// The seam between the setup logic and the operating system: one object that
// groups the narrow interfaces the engines use. Engines receive it by
// reference and ask only the interfaces they need. Every implementation fills
// in every member -- the real one from platform/win32/win32_platform.h, the
// in-memory one from platform/fake/fake_platform.h -- so engine code uses the
// members without testing them for null; only the engines' entry points ask
// IsComplete() once and refuse to start on a seam that breaks this promise.
//
// Adding a service: write its interface header beside this one, add a
// pointer member here, and fill it in both implementations.
#pragma once

#include "platform/os_version_cache.h"

class FileSystem;
class LibraryLoader;
class ModuleResources;
class ProcessServices;
class Profile;
class Progress;
class Prompts;
class Registry;
class ServiceManager;
class Shell;
class SystemInfo;

class Platform {
 public:
  virtual ~Platform() = default;

  SystemInfo* system = nullptr;          // system_info.h
  FileSystem* files = nullptr;           // file_system.h
  ModuleResources* resources = nullptr;  // module_resources.h
  Registry* registry = nullptr;          // registry.h
  Profile* profile = nullptr;            // profile.h (INI files)
  ServiceManager* services = nullptr;    // service_manager.h
  ProcessServices* process = nullptr;    // process.h
  Shell* shell = nullptr;                // shell.h
  Prompts* prompts = nullptr;            // prompts.h
  Progress* progress = nullptr;          // progress.h (the installing page's)
  LibraryLoader* libraries = nullptr;    // library.h (the extension library)

  mutable OsVersionCache os_version;

  // Returns whether every member above is set.
  bool IsComplete() const {
    return system && files && resources && registry && profile && services && process && shell &&
           prompts && progress && libraries;
  }
};
