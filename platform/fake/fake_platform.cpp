#include "platform/fake/fake_platform.h"

FakePlatform::FakePlatform() : fake_system(&fake_files) {
  system = &fake_system;
  files = &fake_files;
  resources = &fake_resources;
  registry = &fake_registry;
  profile = &fake_profile;
  services = &fake_services;
  process = &fake_process;
  shell = &fake_shell;
  prompts = &fake_prompts;
  progress = &fake_progress;
  libraries = &fake_libraries;
  for (const cc::Str& folder : fake_system.KnownFolders()) fake_files.PutFolder(folder);
  fake_files.PutFile(fake_system.ModuleFileName(), "");
}

void FakePlatform::SetOs(const FakeOs& os) {
  fake_system.SetOs(os);
  os_version = OsVersionCache();
}
