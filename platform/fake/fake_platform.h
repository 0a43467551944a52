// A whole Platform in memory, for engine tests: every interface is filled
// with its fake, which a test reaches through the fake_* members. A fresh
// object per test keeps tests apart.
#pragma once

#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_library.h"
#include "platform/fake/fake_module_resources.h"
#include "platform/fake/fake_process.h"
#include "platform/fake/fake_profile.h"
#include "platform/fake/fake_progress.h"
#include "platform/fake/fake_prompts.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_service_manager.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_system_info.h"
#include "platform/platform.h"

class FakePlatform : public Platform {
 public:
  // A 64-bit Windows 7 (as Wine reports by default) whose special folders,
  // temporary folder and Windows folder exist in fake_files, with the program
  // at C:\setup\setup.exe.
  FakePlatform();
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  // Switches the Windows version and forgets the remembered version index.
  void SetOs(const FakeOs& os);

  FakeFileSystem fake_files;
  FakeSystemInfo fake_system;
  FakeModuleResources fake_resources;
  FakeRegistry fake_registry;
  FakeProfile fake_profile{&fake_files};
  FakeServiceManager fake_services;
  FakeProcess fake_process;
  FakeShell fake_shell{&fake_files};
  FakePrompts fake_prompts;
  FakeProgress fake_progress;
  FakeLibraryLoader fake_libraries{&fake_files};
};
