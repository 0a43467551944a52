// The test driver's progress: prints every status label and status line to
// standard output, one per line, so that a script sees what the engine did.
#pragma once

#include <cstdio>

#include "platform/progress.h"

class HarnessProgress : public Progress {
 public:
  explicit HarnessProgress(std::FILE* out) : out_(out) {}
  void SetStatus(const cc::Str& text) override;
  void SetDetail(const cc::Str& text) override {}
  void SetBar(int percent) override { bar_ = percent; }
  void AddStatusLine(const cc::Str& line) override;
  void PumpMessages() override {}
  int Bar() const { return bar_; }

 private:
  void Print(const char* prefix, const cc::Str& text);
  std::FILE* out_;
  int bar_ = 0;
};
