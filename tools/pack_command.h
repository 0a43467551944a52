// The packer's command line: "build" and "inspect".
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace pack {

// Runs one command (`args` without the program name, UTF-8). Writes the
// report to `out` and every error to `err`. `program` is the path the
// packer was started as (to find the runtime beside it; may be empty).
// Returns the process exit status: 0 success, 1 a failure of the input or
// of the work (nothing written), 2 bad usage.
int RunPackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   const std::string& program = "");

}  // namespace pack
