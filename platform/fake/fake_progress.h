// Records everything shown through progress.h, for tests. A test can hook
// the message pump to act "while the window is responsive", as a user
// pressing Cancel does.
#pragma once

#include <functional>
#include <vector>

#include "platform/progress.h"

class FakeProgress : public Progress {
 public:
  void SetStatus(const cc::Str& text) override { statuses_.push_back(text); }
  void SetDetail(const cc::Str& text) override { details_.push_back(text); }
  void SetBar(int percent) override { bars_.push_back(percent); }
  void AddStatusLine(const cc::Str& line) override { lines_.push_back(line); }
  void PumpMessages() override;

  // Called by every pump with the number of pumps so far (1 for the first).
  void OnPump(std::function<void(int)> hook) { on_pump_ = std::move(hook); }

  const std::vector<cc::Str>& Statuses() const { return statuses_; }
  const std::vector<cc::Str>& Details() const { return details_; }
  const std::vector<int>& Bars() const { return bars_; }
  const std::vector<cc::Str>& Lines() const { return lines_; }
  int Pumps() const { return pumps_; }
  // True when some status line equals `line` exactly.
  bool HasLine(const cc::Str& line) const;
  // True when some status label text equals `text`.
  bool HasStatus(const cc::Str& text) const;

 private:
  std::vector<cc::Str> statuses_;
  std::vector<cc::Str> details_;
  std::vector<int> bars_;
  std::vector<cc::Str> lines_;
  int pumps_ = 0;
  std::function<void(int)> on_pump_;
};
