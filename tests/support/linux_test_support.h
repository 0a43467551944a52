// Helpers for the tests that check our output with Linux tools (unzip,
// unrtf, wrestool, Wine): running a shell command, quoting for the shell,
// and a scratch folder removed when the test ends.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/support/scratch_folder.h"

namespace test_support {

// Runs `command` through the shell; returns its exit status (-1 when it
// could not run or was killed) and appends its standard output to `output`.
inline int RunShell(const std::string& command, std::string* output) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) output->append(buf, n);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// `s` as one shell word: in single quotes, embedded quotes escaped.
inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace test_support
