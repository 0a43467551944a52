// The packer's command line: "build" and "inspect".
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace pack {

// Runs one command (`args` without the program name, UTF-8). Writes the
// report to `out` and every error to `err`. Returns the process exit status:
// 0 success, 1 a failure of the input or of the work, 2 bad usage.
int RunPackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace pack
