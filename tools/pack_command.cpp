#include "tools/pack_command.h"

namespace pack {

int RunPackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  err << "usage: velmora-pack build PROJECT_DIR -o SETUP.exe [--runtime RUNTIME.exe]\n"
         "       velmora-pack inspect SETUP.exe\n";
  return 2;
}

}  // namespace pack
