#include "install/install_session.h"

#include <algorithm>

#include "platform/platform.h"

int PercentOf(int64_t part, int64_t whole) {
  whole = std::max<int64_t>(whole, 1);
  part = std::clamp<int64_t>(part, 0, whole);
  // part * 100 stays far below 2^63 for any file size a payload can hold.
  return static_cast<int>(part * 100 / whole);
}

Progress& InstallSession::progress() const { return *platform.progress; }
Prompts& InstallSession::prompts() const { return *platform.prompts; }
