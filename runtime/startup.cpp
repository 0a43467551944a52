#include "runtime/startup.h"

#include "platform/platform.h"
#include "platform/process.h"
#include "runtime/ins_form.h"

void EnableStartupPrivileges(Platform& platform) {
  for (const char16_t* privilege : kStartupPrivileges) platform.process->EnablePrivilege(privilege);
}

int RunStartupWithoutWindow(Platform& platform, const std::function<void(InsForm&)>& afterInitialize) {
  EnableStartupPrivileges(platform);
  InsForm form(platform);
  form.Initialize();
  if (afterInitialize) afterInitialize(form);
  // No window yet: the block exists, its handle word stays 0.
  form.PublishMainWindow(0);
  form.CheckBeforeFirstPage();
  form.Teardown();
  return 0;
}
