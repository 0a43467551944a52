// What a long step shows while it works: the installing page's status label
// (the current step), detail label (the current item), progress bar (0 to
// 100) and detail list of status lines, and the pumping of pending window
// messages that keeps the window responsive and lets Cancel through. The
// wizard's installing page implements it; tests record it
// (platform/fake/fake_progress.h). The cancel request itself is not here: it
// is the result "Ret.Canceling" in the configuration store.
#pragma once

#include "core/str.h"

class Progress {
 public:
  virtual ~Progress() = default;
  virtual void SetStatus(const cc::Str& text) = 0;
  virtual void SetDetail(const cc::Str& text) = 0;
  // `percent` is 0 to 100.
  virtual void SetBar(int percent) = 0;
  // Adds one line to the detail list; `line` normally ends in "\r\n".
  virtual void AddStatusLine(const cc::Str& line) = 0;
  // Handles the window messages that are waiting, then returns.
  virtual void PumpMessages() = 0;
};

