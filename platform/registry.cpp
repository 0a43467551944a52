#include "platform/registry.h"

RegRoot RegRootFromIndex(int index) {
  switch (index) {
    case 0:
      return RegRoot::kClassesRoot;
    case 1:
      return RegRoot::kCurrentUser;
    case 2:
      return RegRoot::kLocalMachine;
    default:
      return RegRoot::kUsers;
  }
}

cc::Str RegDataAsText(std::string_view data) {
  std::u16string text;
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    char16_t unit = static_cast<char16_t>(static_cast<uint8_t>(data[i]) |
                                          (static_cast<uint8_t>(data[i + 1]) << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return cc::Str(text);
}

std::string RegStringData(const cc::Str& text) {
  std::string data;
  for (char16_t unit : text.View()) {
    data.push_back(static_cast<char>(unit & 0xFF));
    data.push_back(static_cast<char>(unit >> 8));
  }
  data.append(2, '\0');
  return data;
}

std::string RegDwordData(uint32_t value) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return data;
}
