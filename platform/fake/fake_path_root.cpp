#include "platform/fake/fake_path_root.h"

namespace {

constexpr char16_t kCurrentDrive[] = u"C:";

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }
bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

size_t FindSeparator(std::u16string_view path, size_t from) {
  for (size_t i = from; i < path.size(); ++i) {
    if (IsSeparator(path[i])) return i;
  }
  return std::u16string_view::npos;
}

}  // namespace

bool SplitVolumeRoot(std::u16string_view path, std::u16string* root, std::u16string* rest) {
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == u':') {
    const char16_t drive = path[0] >= u'a' ? static_cast<char16_t>(path[0] - 0x20) : path[0];
    *root = std::u16string(1, drive) + u":";
    *rest = path.substr(2);
    return true;
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    const size_t server_end = FindSeparator(path, 2);
    if (server_end == std::u16string_view::npos || server_end == 2) return false;
    size_t share_end = FindSeparator(path, server_end + 1);
    if (share_end == std::u16string_view::npos) share_end = path.size();
    if (share_end == server_end + 1) return false;
    *root = path.substr(0, share_end);
    for (char16_t& c : *root) c = IsSeparator(c) ? u'\\' : c;
    *rest = path.substr(share_end);
    return true;
  }
  *root = kCurrentDrive;
  *rest = path;
  return true;
}
