#include "ui/link_policy.h"

#include <vector>

namespace cc::win {
namespace {

// File types Windows runs, or hands to an interpreter, when opened.
constexpr std::u16string_view kRunnableTypes[] = {
    u"exe", u"com", u"bat", u"cmd", u"pif", u"scr", u"cpl", u"msi", u"msp", u"msc",
    u"vbs", u"vbe", u"js",  u"jse", u"wsf", u"wsh", u"ps1", u"psm1", u"hta", u"lnk",
    u"url", u"reg", u"inf", u"jar", u"scf", u"application", u"appref-ms", u"chm",
    u"gadget", u"library-ms", u"settingcontent-ms", u"dll", u"sys", u"ocx", u"diagcab"};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The scheme of a URL ("http" of "http://..."), empty when there is none. A
// single letter before the colon is a drive, not a scheme.
std::u16string_view SchemeOf(std::u16string_view href) {
  size_t i = 0;
  while (i < href.size() && (IsLetter(href[i]) || (i > 0 && (href[i] == u'+' || href[i] == u'-' ||
                                                              href[i] == u'.' || (href[i] >= u'0' && href[i] <= u'9'))))) {
    ++i;
  }
  if (i < 2 || i >= href.size() || href[i] != u':') return {};
  return href.substr(0, i);
}

LinkDecision Refuse(const char* reason) { return LinkDecision{LinkAction::kRefuse, u"", reason}; }

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The path of a "file:" URL with its %XX escapes decoded (as bytes below
// 0x80 only: anything else is not a path this check can vouch for); false
// when it cannot be read or names a network host.
bool FileUrlPath(std::u16string_view url, std::u16string* path) {
  url.remove_prefix(5);  // "file:"
  if (url.substr(0, 3) == u"///") {
    url.remove_prefix(3);
  } else if (url.substr(0, 2) == u"//") {
    return false;  // file://host/share is a network path
  }
  path->clear();
  for (size_t i = 0; i < url.size(); ++i) {
    if (url[i] != u'%') {
      path->push_back(url[i]);
      continue;
    }
    const int high = i + 2 < url.size() ? HexDigit(url[i + 1]) : -1;
    const int low = high >= 0 ? HexDigit(url[i + 2]) : -1;
    if (low < 0 || high >= 8 || (high == 0 && low == 0)) return false;
    path->push_back(static_cast<char16_t>(high * 16 + low));
    i += 2;
  }
  return true;
}

// Splits a full path "X:\a\b" into its drive and components, resolving "."
// and "..". False when the path is not a plain local full path or climbs
// above its drive.
bool SplitFullPath(std::u16string path, std::vector<std::u16string>* parts) {
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
  if (path.size() < 3 || !IsLetter(path[0]) || path[1] != u':' || path[2] != u'\\') return false;
  parts->assign(1, std::u16string(1, Lower(path[0])) + u":");
  size_t start = 3;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string::npos) end = path.size();
    const std::u16string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == u".") continue;
    if (part == u"..") {
      if (parts->size() == 1) return false;
      parts->pop_back();
      continue;
    }
    parts->push_back(part);
  }
  return true;
}

// Whether a name is one Windows opens as written: no stream or wildcard
// characters, no "%" that a handler might read as an escape or a variable,
// and no final dot or blank that Windows would trim away.
bool IsPlainName(std::u16string_view name) {
  if (name.find_first_of(u":*?\"<>|%") != std::u16string_view::npos) return false;
  return name.back() != u'.' && name.back() != u' ';
}

bool IsRunnable(std::u16string_view name) {
  const size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos) return false;
  const std::u16string_view type = name.substr(dot + 1);
  for (std::u16string_view runnable : kRunnableTypes) {
    if (SameIgnoringCase(type, runnable)) return true;
  }
  return false;
}

bool IsInside(const std::vector<std::u16string>& parts, const std::vector<std::u16string>& folder) {
  if (parts.size() <= folder.size()) return false;
  for (size_t i = 0; i < folder.size(); ++i) {
    if (!SameIgnoringCase(parts[i], folder[i])) return false;
  }
  return true;
}

std::u16string JoinPath(const std::vector<std::u16string>& parts) {
  std::u16string path = parts[0];
  for (size_t i = 1; i < parts.size(); ++i) path += u"\\" + parts[i];
  return path;
}

LinkDecision DecideFile(std::u16string path, std::u16string_view appFolder) {
  if (appFolder.empty()) return Refuse("no application folder to open files from");
  std::u16string_view view = path;
  if (view.substr(0, 2) == u"\\\\" || view.substr(0, 2) == u"//") return Refuse("network or device path");
  if (!view.empty() && (view[0] == u'\\' || view[0] == u'/')) return Refuse("path relative to the current drive");
  const bool full = view.size() >= 2 && IsLetter(view[0]) && view[1] == u':';
  if (full && (view.size() < 3 || (view[2] != u'\\' && view[2] != u'/'))) {
    return Refuse("path relative to a drive's current folder");
  }
  if (!full) path = std::u16string(appFolder) + u"\\" + path;
  std::vector<std::u16string> parts, folder;
  if (!SplitFullPath(std::u16string(appFolder), &folder)) return Refuse("application folder is not a full path");
  if (!SplitFullPath(path, &parts)) return Refuse("not a plain local path");
  if (!IsInside(parts, folder)) return Refuse("file outside the application folder");
  for (size_t i = folder.size(); i < parts.size(); ++i) {
    if (!IsPlainName(parts[i])) return Refuse("name with characters Windows reads specially");
  }
  if (IsRunnable(parts.back())) return Refuse("program or script");
  return LinkDecision{LinkAction::kOpenFile, JoinPath(parts), ""};
}

}  // namespace

LinkDecision DecideLink(std::u16string_view href, std::u16string_view appFolder) {
  href = Trim(href);
  if (href.empty()) return Refuse("empty link");
  for (char16_t c : href) {
    if (c < 0x20 || c == 0x7F) return Refuse("control character in link");
  }
  const std::u16string_view scheme = SchemeOf(href);
  if (SameIgnoringCase(scheme, u"http") || SameIgnoringCase(scheme, u"https")) {
    const std::u16string_view rest = href.substr(scheme.size() + 1);
    if (rest.size() < 3 || rest.substr(0, 2) != u"//") return Refuse("web address without a host");
    return LinkDecision{LinkAction::kOpenAddress, std::u16string(href), ""};
  }
  if (SameIgnoringCase(scheme, u"mailto")) {
    if (href.size() == scheme.size() + 1) return Refuse("mail address without a recipient");
    return LinkDecision{LinkAction::kOpenAddress, std::u16string(href), ""};
  }
  if (SameIgnoringCase(scheme, u"file")) {
    std::u16string path;
    if (!FileUrlPath(href, &path)) return Refuse("file address that is not a local path");
    for (char16_t c : path) {
      if (c < 0x20 || c == 0x7F) return Refuse("control character in link");
    }
    return DecideFile(path, appFolder);
  }
  if (!scheme.empty()) return Refuse("scheme other than http, https, mailto and file");
  return DecideFile(std::u16string(href), appFolder);
}

}  // namespace cc::win
