// RemoveDlg: the question whether to remove a shared file at uninstall —
// the overwrite dialog relabelled, its overwrite-older button hidden and
// the others moved together, 520 pixels wide. Answers as the overwrite
// dialog: 0 remove, 1 remove all, 2 skip, 3 skip all, kOverwriteCancel for
// cancel, Escape or any other close. Windows flavour only.
#pragma once

#include "wizard/win32/overwrite_dialog.h"

namespace wizard {

inline constexpr int kRemoveDlgWidth = 520;

class RemoveDlg : public OverwriteDlg {
 public:
  // `question` holds the shared-file texts; its button kOverwriteReplaceOlder
  // is hidden whatever its label.
  explicit RemoveDlg(const OverwriteQuestion& question, int clientWidth = kRemoveDlgWidth);
  const char16_t* ClassName() const override { return u"RemoveDlg"; }
};

}  // namespace wizard
