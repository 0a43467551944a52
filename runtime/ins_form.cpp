#include "runtime/ins_form.h"

#include <cstring>
#include <string>

#include "platform/file_helpers.h"
#include "platform/os_version.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/system_helpers.h"
#include "runtime/language.h"
#include "runtime/path_macros.h"
#include "runtime/result_store.h"
#include "runtime/run_conditions.h"
#include "runtime/setup_log.h"

const char16_t kNoRightsMessage[] =
    u"It seems no rights to continue setup, move this file to others folders like \"c:\\temp\" "
    u"and try setup again.";

namespace {

const char16_t kSharedBlockName[] = u"ccProj";
constexpr int kSharedBlockSize = 48;
const char16_t kRightsCheckPrefix[] = u"T_kW_";
const char kRightsCheckBytes[] = "kW";

}  // namespace

InsForm::InsForm(Platform& platform)
    : platform_(platform), config_(std::make_unique<cc::KeyArr>(false, true)) {}

InsForm::~InsForm() { Teardown(); }

void InsForm::Initialize() {
  // Without a payload the configuration stays empty; the wizard then reports
  // that there is nothing to install.
  payload_found_ = LoadPayloadAtStartup(platform_, *config_, &payload_, &payload_status_);
  if (config_->GetBool(u"s.c.Var.OutLog", false) && log_.OpenBesideProgram(platform_)) WriteStartupLog();
  ChooseStartupLanguage();
  ComputeInitialResults(*config_, current_lang_, platform_);
}

void InsForm::WriteStartupLog() {
  int is64 = 0;
  int index = GetOsVersion(platform_, &is64);
  log_.Line(u"WinVer:%d, %s", index, GetOsName(index, is64));
  for (const char16_t* macro : kLoggedMacros) {
    log_.Line(u"%s:%s", macro, ExpandDirMacro(macro, *config_, platform_));
  }
}

void InsForm::ChooseStartupLanguage() {
  cc::Str locale = GetUserLocaleCode(*platform_.system, true);
  current_lang_ = ChooseLanguage(*config_, locale);
  StoreCurrentLanguage(*config_, current_lang_);
  log_.Line(u"CurLang:%s", current_lang_);
}

bool InsForm::CheckBeforeFirstPage() {
  bool conditionsMet = CheckRunConditions(*config_, platform_);
  bool rights = CheckTempFolderRights();
  if (!rights) config_->Set(u"Ret.ErrorInfo", kNoRightsMessage);
  return conditionsMet && rights;
}

bool InsForm::CheckTempFolderRights() {
  cc::Str path = MakeTempFile(*platform_.system, kRightsCheckPrefix);
  if (path.IsEmpty()) return false;
  bool written = WriteFileBytes(*platform_.files, path, kRightsCheckBytes, cc::kCodePageAnsi, false, false);
  std::string back;
  bool readBack = written && FileExists(*platform_.files, path) &&
                  ReadWholeFile(*platform_.files, path, &back, 2) == 2 && back == kRightsCheckBytes;
  DeleteFileForced(*platform_.files, path);
  return readBack;
}

bool InsForm::PublishMainWindow(uint32_t windowHandle) {
  if (!shared_block_) {
    shared_block_ = platform_.process->CreateSharedMemory(kSharedBlockName, kSharedBlockSize);
  }
  if (!shared_block_) return false;
  std::memcpy(shared_block_->Data(), &windowHandle, sizeof(windowHandle));
  return true;
}

bool InsForm::SwitchLanguage(int index) {
  if (index < 0) return false;
  config_->SetInt(u"Ret.Lang.Ind", index);
  cc::Str code = LanguageCodeOfEntry(*config_, index);
  if (code == current_lang_ && !current_lang_.IsNull()) return false;
  StoreCurrentLanguage(*config_, code);
  current_lang_ = config_->Get(u"s.c.IniLang");
  return true;
}

void InsForm::Teardown() {
  if (torn_down_) return;
  torn_down_ = true;
  uninstall_.reset();
  payload_.Close();
  config_.reset();
  shared_block_.reset();
  log_.Close();
}
