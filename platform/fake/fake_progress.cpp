#include "platform/fake/fake_progress.h"

void FakeProgress::PumpMessages() {
  ++pumps_;
  if (on_pump_) on_pump_(pumps_);
}

bool FakeProgress::HasLine(const cc::Str& line) const {
  for (const cc::Str& each : lines_) {
    if (each == line) return true;
  }
  return false;
}

bool FakeProgress::HasStatus(const cc::Str& text) const {
  for (const cc::Str& each : statuses_) {
    if (each == text) return true;
  }
  return false;
}
