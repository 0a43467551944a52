// Progress for a run without the installing page (a quiet run, or before
// the wizard puts its page in place): nothing is shown, and waiting window
// messages are still handled so that windows of the process stay responsive.
#pragma once

#include "platform/progress.h"

class Win32Progress : public Progress {
 public:
  void SetStatus(const cc::Str&) override {}
  void SetDetail(const cc::Str&) override {}
  void SetBar(int) override {}
  void AddStatusLine(const cc::Str&) override {}
  void PumpMessages() override;
};
