// The location page: the destination folder, typed or picked in the folder
// browser, optionally whether to install for all users, and the space the
// chosen components need beside the free space of the destination drive.
// Stores "Ret.Location.Path" and "Ret.Location.AllUser" on Next. Windows
// flavour only.
#pragma once

#include "wizard/location_path.h"
#include "wizard/proposed_text.h"
#include "wizard/win32/function_page.h"

namespace wizard {

class LocationPage : public FunctionPage {
 public:
  LocationPage(WizardContext& context, const cc::Str& keyBase);
  const char16_t* ClassName() const override { return u"LocationPage"; }

  void OnEnter(int direction) override;
  bool LoadPage(int mode) override;
  bool LeavePage(int direction) override;

 private:
  void BuildControls();
  cc::Str Suffix() const;
  // Shows the required and the available space in "labSpace" (when shown).
  void UpdateSpace();
  // Widens "selLocation" (to the left) and the radio buttons (to the
  // right) when their captions in this language do not fit.
  void FitCaptions();
  void FitBrowseButton();
  void OnBrowsed(cc::win::Control* sender, cc::win::EventArgs& args);
  void OnPathTyped(cc::win::Control* sender, cc::win::EventArgs& args);
  void ShowLocationError(LocationError error);

  cc::win::Label* labLocation_ = nullptr;
  cc::win::TextBox* textLocation_ = nullptr;
  cc::win::PathButton* selLocation_ = nullptr;
  cc::win::Label* labEveryone_ = nullptr;
  cc::win::RadioButton* radYes_ = nullptr;
  cc::win::RadioButton* radNo_ = nullptr;
  cc::win::Label* labSpace_ = nullptr;
  ProposedText text_;
  cc::Str spaceRoot_;  // the drive the space text was last made for
};

}  // namespace wizard
