// velmora-pack: turns a project folder into one setup program.
#include <iostream>
#include <string>
#include <vector>

#include "tools/pack_command.h"

#ifdef _WIN32
#include <cwchar>

// Windows hands wide arguments; the packer works in UTF-8 throughout.
static std::string WideToUtf8(const wchar_t* text) {
  std::string out;
  for (const wchar_t* p = text; *p; ++p) {
    uint32_t c = static_cast<uint16_t>(*p);
    if (c >= 0xD800 && c < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint16_t>(p[1]) - 0xDC00);
      ++p;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
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
