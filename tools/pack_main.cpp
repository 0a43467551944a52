// velmora-pack: turns a project folder into one setup program.
#include <iostream>
#include <string>
#include <vector>

#include "tools/pack_command.h"

#ifdef _WIN32
#include "core/code_page.h"

// Windows hands wide arguments; the packer works in UTF-8 throughout.
static std::string WideToUtf8(const wchar_t* text) {
  return cc::Utf16ToUtf8(reinterpret_cast<const char16_t*>(text));
}

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(WideToUtf8(argv[i]));
  return pack::RunPackCommand(args, std::cout, std::cerr, WideToUtf8(argv[0]));
}
#else
int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return pack::RunPackCommand(args, std::cout, std::cerr, argv[0]);
}
#endif
