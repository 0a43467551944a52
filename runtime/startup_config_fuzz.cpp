// The start-up services over an arbitrary project configuration: choosing the
// language, the initial results with the component walk, every directory
// macro (dynamic directories that name each other included) and the run
// conditions must never crash, hang or recurse without bound.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/key_arr.h"
#include "platform/fake/fake_platform.h"
#include "runtime/language.h"
#include "runtime/path_macros.h"
#include "runtime/result_store.h"
#include "runtime/run_conditions.h"

namespace {

FakePlatform& SharedPlatform() {
  static FakePlatform* platform = [] {
    auto* made = new FakePlatform();
    made->fake_registry.PutString(RegRoot::kLocalMachine, u"Software\\Acme", u"Version", u"10");
    made->fake_registry.PutDword(RegRoot::kCurrentUser, u"Software\\Acme", u"Count", 7);
    made->fake_system.SetEnv(u"ACME", u" D:\\Acme ");
    return made;
  }();
  return *platform;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakePlatform& platform = SharedPlatform();
  cc::KeyArr store(false, true);
  store.Parse(cc::Str::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size)), true);

  cc::Str lang = ChooseLanguage(store, u"en-US");
  StoreCurrentLanguage(store, lang);
  ComputeInitialResults(store, lang, platform);
  for (int n = 0; n < 10; ++n) {
    ExpandDirMacro(cc::Str::Formatted(u"<DynamicDir%d>", n), store, platform);
  }
  for (const char16_t* macro : kLoggedMacros) ExpandMacroPath(cc::Str(macro) + cc::Str(u"\\x"), store, platform);
  ExpandMacroPath(store.Get(u"s.i.Comp.editAppTxt"), store, platform);
  CheckRunConditions(store, platform);
  return 0;
}
