#include "tests/harness/harness_progress.h"

#include <string>

void HarnessProgress::Print(const char* prefix, const cc::Str& text) {
  std::string line = prefix + text.ToUtf8();
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), out_);
}

void HarnessProgress::SetStatus(const cc::Str& text) { Print("status: ", text); }

void HarnessProgress::AddStatusLine(const cc::Str& line) { Print("line: ", line); }
