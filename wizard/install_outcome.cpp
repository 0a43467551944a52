#include "wizard/install_outcome.h"

#include "runtime/lang_text.h"

namespace wizard {

InstallOutcome ClassifyInstall(bool ran, const cc::KeyArr& config) {
  bool canceled = config.GetBool(u"Ret.Canceled", false) || config.GetBool(u"Ret.Canceling", false);
  if (ran) return canceled ? InstallOutcome::kCanceledLate : InstallOutcome::kSucceeded;
  return canceled ? InstallOutcome::kCanceledInFiles : InstallOutcome::kFailed;
}

void StoreCanceledError(cc::KeyArr& config) {
  if (!config.Get(u"Ret.ErrorInfo").IsEmpty()) return;
  config.Set(u"Ret.ErrorInfo", GetLangTextOr(config, CurrentLanguage(config), cc::Str(kCanceledInFilesKey),
                                             cc::Str(kCanceledInFilesText)));
}

cc::Str CanceledLateText(const cc::KeyArr& config, const cc::Str& langCode) {
  return GetLangTextOr(config, langCode, cc::Str(kCanceledLateKey), cc::Str(kCanceledLateText));
}

}  // namespace wizard
