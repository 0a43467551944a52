// Back/Next movement through the configured page sequence. The window side
// (showing, hiding, the error texts) is behind PageHost so that the rules
// run without a window.
#pragma once

#include "core/key_arr.h"
#include "core/str.h"
#include "wizard/page_sequence.h"

namespace wizard {

class PageHost {
 public:
  virtual ~PageHost() = default;
  // The page's own check before leaving in `direction` (+1 Next, -1 Back);
  // false keeps the page.
  virtual bool CanLeave(int typeId, int direction) = 0;
  virtual void HidePage(int typeId) = 0;
  // Prepares (mode +1 or -1) and shows the page of `slot`.
  virtual void ShowPage(const PageSlot& slot, int mode) = 0;
  // The sequence has no first page: the built-in error texts, Exit only.
  virtual void ShowNoPages() = 0;
  // The sequence is over: the message loop ends.
  virtual void EndWizard() = 0;
  virtual void Log(const cc::Str& line) = 0;
};

enum class NavResult {
  kStayed,       // the current page refused to be left, or nothing to do
  kShown,        // a page is shown
  kNoPages,      // no first page: error state
  kFinished,     // past the last page
  kInvalidPage,  // an item without a page class ended the wizard
};

class Navigator {
 public:
  Navigator(cc::KeyArr& config, PageHost& host) : config_(config), host_(host) {}

  NavResult GoNext();
  NavResult GoBack();

  // Cuts the sequence after the current position and enters the error
  // state (the error display does the rest).
  void EnterErrorState();

  int Position() const { return position_; }
  // -1 when no page is shown.
  int CurrentPage() const { return current_.kind == SlotKind::kPage ? current_.typeId : -1; }
  const cc::Str& CurrentKeyBase() const { return current_.keyBase; }
  bool InErrorState() const { return errorState_; }
  // True once the wizard ended on an item whose id has no page class.
  bool EndedOnInvalidPage() const { return endedOnInvalid_; }

 private:
  bool LeaveCurrent(int direction);
  NavResult Arrive(const PageSlot& slot, int mode, bool atStart);

  cc::KeyArr& config_;
  PageHost& host_;
  int position_ = -1;
  PageSlot current_;
  bool errorState_ = false;
  bool endedOnInvalid_ = false;
};

}  // namespace wizard
