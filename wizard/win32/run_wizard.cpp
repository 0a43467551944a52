#include "wizard/win32/run_wizard.h"

#include <string>

#include "core/exceptions.h"
#include "platform/platform.h"
#include "runtime/extension_hook.h"
#include "runtime/ins_form.h"
#include "runtime/payload_loader.h"
#include "runtime/setup_log.h"
#include "runtime/startup.h"
#include "ui/win32/app.h"
#include "ui/win32/draw_actor.h"
#include "ui/win32/wizard_form.h"
#include "wizard/exit_code.h"
#include "wizard/win32/extension_host.h"
#include "wizard/win32/wizard_controller.h"

namespace wizard {
namespace {

// Images of backgrounds and declared controls come from the payload by name.
cc::win::ImageLoader PayloadImages(Platform& platform, const cc::KeyArr& config) {
  return [&platform, &config](const cc::Str& name) -> HBITMAP {
    std::string bytes;
    if (name.IsEmpty() || !LoadPayloadFile(platform, &config, name, &bytes) || bytes.empty()) {
      return nullptr;
    }
    return cc::win::DrawActor::LoadImageBytes(bytes.data(), bytes.size());
  };
}

}  // namespace

int RunWizard(Platform& platform, const std::function<void(InsForm&)>& afterInitialize) {
  EnableStartupPrivileges(platform);
  InsForm logic(platform);
  logic.Initialize();
  if (afterInitialize) afterInitialize(logic);
  int code = kExitInstallFailed;
  try {
    cc::win::App app;
    cc::win::WizardForm form(logic);
    form.SetImageLoader(PayloadImages(platform, logic.Config()));
    if (form.Build()) {
      logic.PublishMainWindow(static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(form.Handle())));
      WizardController controller(form, logic, platform);
      WizardExtensionHost extensionHost(
          form, [&controller]() -> cc::win::Control* { return controller.CurrentPage(); });
      ExtensionHook extension(platform, logic.Config(), logic.Payload(), extensionHost, logic.Log());
      if (extension.Load()) {
        controller.SetExtensionNotifier([&extension](int page, int event, uintptr_t control) {
          return extension.Notify(page, event, control);
        });
      }
      form.ApplyLoadDeclared();
      controller.Start();
      app.Run(&form);
      code = WizardExitCode(controller.End());
      logic.Log().Line(u"Setup ends with exit code %d.", code);
      extension.Unload();
      form.DestroyHandle();
    }
  } catch (const cc::Exception& e) {
    OutputDebugStringA(e.what());
  }
  logic.Teardown();
  return code;
}

}  // namespace wizard
