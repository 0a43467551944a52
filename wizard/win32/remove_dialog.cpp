#include "wizard/win32/remove_dialog.h"

namespace wizard {

namespace {

OverwriteQuestion WithoutOverwriteOlder(OverwriteQuestion question) {
  question.buttons[kOverwriteReplaceOlder] = cc::Str();
  return question;
}

}  // namespace

RemoveDlg::RemoveDlg(const OverwriteQuestion& question, int clientWidth)
    : OverwriteDlg(WithoutOverwriteOlder(question), clientWidth) {
  // remove, remove all, skip, skip all, (hidden), cancel
  const ButtonPlace places[kOverwriteButtonCount] = {{95, 470}, {95, 370}, {75, 270},
                                                     {85, 190}, {95, 200}, {85, 100}};
  PlaceButtons(places);
}

}  // namespace wizard
