#include "ui/link_policy.h"

#include <gtest/gtest.h>

#include <string>

namespace cc::win {
namespace {

constexpr std::u16string_view kApp = u"C:\\Program Files\\Acme\\";

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

TEST(LinkPolicyTest, OpensOnlyAddressesAndFilesInsideTheApplicationFolder) {
  constexpr LinkAction kRefuse = LinkAction::kRefuse;
  constexpr LinkAction kAddress = LinkAction::kOpenAddress;
  constexpr LinkAction kFile = LinkAction::kOpenFile;
  struct Case {
    std::u16string_view href;
    LinkAction action;
    std::u16string_view target;  // for the opened ones
  };
  const Case cases[] = {
      // Addresses, handed on as written (blanks around the href dropped).
      {u"http://example.org/", kAddress, u"http://example.org/"},
      {u"  HTTPS://example.org/a?b=1  ", kAddress, u"HTTPS://example.org/a?b=1"},
      {u"mailto:me@example.org", kAddress, u"mailto:me@example.org"},
      {u"http:", kRefuse, u""},
      {u"http:evil.exe", kRefuse, u""},
      {u"mailto:", kRefuse, u""},
      // Every other scheme is refused.
      {u"javascript:alert(1)", kRefuse, u""},
      {u"ms-settings:privacy", kRefuse, u""},
      {u"ftp://example.org/", kRefuse, u""},
      // Files inside the folder: relative, full, by file address.
      {u"readme.txt", kFile, u"c:\\Program Files\\Acme\\readme.txt"},
      {u"docs/manual.pdf", kFile, u"c:\\Program Files\\Acme\\docs\\manual.pdf"},
      {u"C:\\PROGRAM FILES\\acme\\licence.rtf", kFile, u"c:\\PROGRAM FILES\\acme\\licence.rtf"},
      {u"file:///C:/Program%20Files/Acme/readme.txt", kFile, u"c:\\Program Files\\Acme\\readme.txt"},
      {u"./docs/../readme.txt", kFile, u"c:\\Program Files\\Acme\\readme.txt"},
      // Leaving the folder, or a folder whose name merely begins alike.
      {u"..\\other\\readme.txt", kRefuse, u""},
      {u"C:\\Program Files\\Acme Evil\\readme.txt", kRefuse, u""},
      {u"C:\\Windows\\win.ini", kRefuse, u""},
      {u"C:\\Program Files\\Acme", kRefuse, u""},
      {u"..\\..\\..\\..\\..\\x.txt", kRefuse, u""},
      // Network, device and drive-relative paths.
      {u"\\\\server\\share\\readme.txt", kRefuse, u""},
      {u"//server/share/readme.txt", kRefuse, u""},
      {u"\\\\?\\C:\\Program Files\\Acme\\readme.txt", kRefuse, u""},
      {u"file://server/share/readme.txt", kRefuse, u""},
      {u"\\Program Files\\Acme\\readme.txt", kRefuse, u""},
      {u"C:readme.txt", kRefuse, u""},
      // Programs and scripts, even inside the folder, however written.
      {u"setup.exe", kRefuse, u""},
      {u"tools\\Run.BAT", kRefuse, u""},
      {u"help.hta", kRefuse, u""},
      {u"script.js", kRefuse, u""},
      {u"setup.exe.", kRefuse, u""},
      {u"setup.exe ", kRefuse, u""},  // the blank is trimmed: setup.exe
      {u"setup.exe%20", kRefuse, u""},
      {u"file:///C:/Program%20Files/Acme/setup%2Eexe", kRefuse, u""},
      {u"readme.txt:hidden.exe", kRefuse, u""},
      {u"read*.txt", kRefuse, u""},
      // Nothing to open.
      {u"", kRefuse, u""},
      {u"   ", kRefuse, u""},
      {u"read\nme.txt", kRefuse, u""},
      {u"file:///C:/Program%20Files/Acme/a%00.txt", kRefuse, u""},
  };
  for (const Case& c : cases) {
    const LinkDecision got = DecideLink(c.href, kApp);
    EXPECT_EQ(got.action, c.action) << Narrow(c.href) << " (" << got.reason << ")";
    EXPECT_EQ(Narrow(got.target), Narrow(c.target)) << Narrow(c.href);
    EXPECT_EQ(got.action == kRefuse, std::string(got.reason) != "") << Narrow(c.href);
  }
}

TEST(LinkPolicyTest, WithoutAnApplicationFolderOnlyAddressesOpen) {
  EXPECT_EQ(DecideLink(u"readme.txt", u"").action, LinkAction::kRefuse);
  EXPECT_EQ(DecideLink(u"C:\\App\\readme.txt", u"").action, LinkAction::kRefuse);
  EXPECT_EQ(DecideLink(u"https://example.org/", u"").action, LinkAction::kOpenAddress);
  // A folder that is not a full path vouches for nothing.
  EXPECT_EQ(DecideLink(u"readme.txt", u"App").action, LinkAction::kRefuse);
}

}  // namespace
}  // namespace cc::win
