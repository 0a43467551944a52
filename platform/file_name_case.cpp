#include "platform/file_name_case.h"

char16_t FoldFileNameChar(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
  // Latin-1 capitals, except the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  // Latin Extended-A pairs capital/small at even/odd positions, apart from
  // the dotted and dotless i (left alone) and the odd-paired runs
  // 0x139-0x148 and 0x179-0x17E.
  if (c == 0x130 || c == 0x131) return c;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
    return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
  }
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
    return (c % 2 == 1) ? static_cast<char16_t>(c + 1) : c;
  }
  // Greek capitals (0x3A2 is unassigned).
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 0x20);
  // Cyrillic capitals.
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  return c;
}

std::u16string FoldFileName(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) c = FoldFileNameChar(c);
  return folded;
}

bool SameFileName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldFileNameChar(a[i]) != FoldFileNameChar(b[i])) return false;
  }
  return true;
}
