// OverwriteDlg: the modal question about a file that exists already, with
// six buttons named "1" to "6" (overwrite, overwrite all, skip, skip all,
// overwrite older, cancel). Its answer is the pressed button's position
// from 0; Escape presses "6", and closing it any other way counts as
// cancel. The window does not grow with the path: the path is broken into
// the lines the message label has left, middle folders giving way to "..."
// so that the file name stays visible. A button whose label does not fit
// its width grows (the row keeps its gaps, the window widens when the row
// would leave it). Windows flavour only.
#pragma once

#include "platform/prompts.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/form.h"

namespace wizard {

inline constexpr int kOverwriteDlgWidth = 620;
inline constexpr int kDialogLabelLeft = 16;
inline constexpr int kDialogLabelTop = 10;
inline constexpr int kDialogLabelHeight = 80;
inline constexpr int kDialogButtonTop = 95;
inline constexpr int kDialogButtonHeight = 19;
// The client height: the button row's top plus this.
inline constexpr int kDialogBottomMargin = 27;

class OverwriteDlg : public cc::win::Dialog {
 public:
  // The texts are `question`'s, already in the current language; a button
  // whose label is null is hidden. `clientWidth` is the client area's width.
  explicit OverwriteDlg(const OverwriteQuestion& question, int clientWidth = kOverwriteDlgWidth);
  const char16_t* ClassName() const override { return u"OverwriteDlg"; }

  // Shows the dialog modally over `owner`, centred on it and kept on the
  // work area; returns the pressed button's position (0 to 4), or
  // kOverwriteCancel for the cancel button, Escape, a failure to show, or
  // any other way it closed.
  int Ask(cc::win::Control* owner);

  cc::win::Button* ButtonAt(int position) const { return buttons_[position]; }

 protected:
  // A button's width and its left edge as the distance from the right edge
  // of the client area.
  struct ButtonPlace {
    int width;
    int fromRight;
  };
  void PlaceButtons(const ButtonPlace (&places)[kOverwriteButtonCount]);
  void OnCreated() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnButtonClick(cc::win::Control* sender, cc::win::EventArgs& args);
  void OnClosingDialog(cc::win::Control* sender, cc::win::CancelEventArgs& args);
  void FitMessage();
  void FitButtons();
  void CenterOver(cc::win::Control* owner);

  OverwriteQuestion question_;
  int width_;
  cc::win::Control* owner_ = nullptr;
  cc::win::Label* labMsg_ = nullptr;
  cc::win::Button* buttons_[kOverwriteButtonCount] = {};
  int answer_ = kOverwriteCancel;
  bool answered_ = false;
};

}  // namespace wizard
