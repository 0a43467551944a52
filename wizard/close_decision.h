// What a close request (Cancel, the close box, Alt+F4, Escape) does, as a
// decision independent of the window: whether a question is asked, whether
// the form closes, and what is recorded.
#pragma once

#include <functional>

#include "core/key_arr.h"
#include "core/str.h"

namespace wizard {

struct CloseState {
  bool errorState = false;
  int currentPage = -1;  // -1: no page shown yet
};

struct CloseOutcome {
  bool closes = false;
  // The finish page's actions run (closing the finish page finishes).
  bool finishes = false;
  // The installing page accepted a cancel: Cancel is disabled and gets "...".
  bool cancelRequested = false;
};

// Asks a Yes/No question (title, text); true for Yes. No is the default.
using AskYesNo = std::function<bool(const cc::Str& title, const cc::Str& text)>;

// Decides a close request. On the installing page a Yes sets
// "Ret.Canceling"; the install driver then stops and records "Ret.Canceled".
CloseOutcome DecideClose(cc::KeyArr& config, const CloseState& state, const AskYesNo& ask);

}  // namespace wizard
