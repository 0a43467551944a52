#include "ui/win32/wizard_startup.h"

#include <string>

#include "core/exceptions.h"
#include "platform/platform.h"
#include "runtime/ins_form.h"
#include "runtime/payload_loader.h"
#include "runtime/startup.h"
#include "ui/win32/app.h"
#include "ui/win32/draw_actor.h"
#include "ui/win32/wizard_form.h"

namespace cc::win {
namespace {

// Page types shown on a wide page (with the left image) by default.
bool IsWidePageType(int id) { return id == 100 || id == 101 || id == 113; }

// The first page's flag word and key base, for the frame's first layout
// until the page framework shows real pages.
int FirstPageFlags(const KeyArr& config, Str* keyBase) {
  int item = config.GetInt(Str(u"s.p.Page0.IdDiff"), -1);
  std::u16string base = u"s.p.p";
  for (char c : std::to_string(item)) base += static_cast<char16_t>(c);
  *keyBase = Str(base);
  int id = config.GetInt(Str(base + u".Id"), -1);
  int flags = config.GetInt(Str(base + u".Flags"), 0);
  return flags | (IsWidePageType(id) ? kPageWide : kPageTopImage);
}

// Images of backgrounds and declared controls come from the payload by name.
ImageLoader PayloadImages(Platform& platform, const KeyArr& config) {
  return [&platform, &config](const Str& name) -> HBITMAP {
    std::string bytes;
    if (name.IsEmpty() || !LoadPayloadFile(platform, &config, name, &bytes) || bytes.empty()) {
      return nullptr;
    }
    return DrawActor::LoadImageBytes(bytes.data(), bytes.size());
  };
}

}  // namespace

int RunWizard(Platform& platform, const std::function<void(InsForm&)>& afterInitialize) {
  EnableStartupPrivileges(platform);
  InsForm logic(platform);
  logic.Initialize();
  if (afterInitialize) afterInitialize(logic);
  int code = 0;
  try {
    App app;
    WizardForm form(logic);
    form.SetImageLoader(PayloadImages(platform, logic.Config()));
    if (form.Build()) {
      logic.PublishMainWindow(static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(form.Handle())));
      Str keyBase;
      int flags = FirstPageFlags(logic.Config(), &keyBase);
      form.ApplyLoadDeclared();
      form.Layout(nullptr, flags, keyBase, 0, true);
      form.ApplyPageBackground(keyBase);
      form.ApplyCommonTopBar();
      form.NextButton()->Focus();
      logic.CheckBeforeFirstPage();
      app.Run(&form);
    } else {
      code = 1;
    }
  } catch (const Exception& e) {
    OutputDebugStringA(e.what());
    code = 1;
  }
  logic.Teardown();
  return code;
}

}  // namespace cc::win
