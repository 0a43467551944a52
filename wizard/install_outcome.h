// How an install run on the installing page ended, from RunInstall's
// result and the cancel results, and the texts that tell the user about a
// cancelled run: the error page's after a cancel that stopped the copy, the
// finish page's after a cancel that came once the files were in place (the
// run then completes every later step and reports success).
#pragma once

#include "core/key_arr.h"
#include "core/str.h"

namespace wizard {

enum class InstallOutcome {
  kSucceeded,
  kFailed,            // "Ret.ErrorInfo" says why
  kCanceledInFiles,   // stopped during the file step; what it made is to be removed
  kCanceledLate,      // every step ran, but the user had asked to cancel
};

// `ran` is RunInstall's result.
InstallOutcome ClassifyInstall(bool ran, const cc::KeyArr& config);

// The language keys of the two texts and their English fallbacks.
inline constexpr char16_t kCanceledInFilesKey[] = u".s.i.Var.InsingCanceled";
inline constexpr char16_t kCanceledInFilesText[] =
    u"The installation was cancelled. Setup removed the files and folders it had created so far.";
inline constexpr char16_t kCanceledLateKey[] = u".s.i.Var.InsingCanceledLate";
inline constexpr char16_t kCanceledLateText[] =
    u"The installation was cancelled after its files had been copied. Setup completed the "
    u"remaining steps so that the program can be removed again.";

// A cancel that stopped the copy leaves no error text of its own: puts the
// cancelled text of the current language (English when it has none) into
// "Ret.ErrorInfo" unless a real error is there already.
void StoreCanceledError(cc::KeyArr& config);

// The finish page's text after a late cancel, in `langCode`.
cc::Str CanceledLateText(const cc::KeyArr& config, const cc::Str& langCode);

}  // namespace wizard
