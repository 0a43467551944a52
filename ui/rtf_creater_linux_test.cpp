// The converter's output read by an RTF reader we did not write (unrtf):
// the words, the bold runs and the colours must be where the HTML put them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ui/rtf_creater.h"

namespace cc::win {
namespace {

// A project text as an author would write it: a heading, colours from a
// FONT and from a style, a highlight, a centred DIV, non-ASCII text in a
// bold heading, a link and an entity; the comment and script must vanish.
constexpr const char* kSample =
    "<!-- hidden comment --><script>var hidden = 1;</script>"
    "<b>Licence Terms</b><br>\n"
    "Plain text with <font color=\"#ff0000\">red words</font> and "
    "<span style=\"color:#0000ff\">blue words</span>.<p>\n"
    "<span style=\"background:#ffff00\">marked words</span> "
    "<div align=center>centred line</div>"
    "<b>Gr\xC3\xB6\xC3\x9F" "e \xE2\x80\x94 \xE4\xBE\xA1\xE6\xA0\xBC</b><br>\n"
    "Visit <a href=\"http://example.org/\">the site</a> now &amp; then.";

class UnrtfTest : public testing::Test {
 protected:
  void SetUp() override {
    char path[] = "/tmp/velmora_rtf_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    path_ = path;
    RTFCreater creater;
    std::ofstream(path_, std::ios::binary) << creater.Convert(kSample, -1, 20);
  }
  void TearDown() override {
    if (!path_.empty()) std::remove(path_.c_str());
  }

  // unrtf's output in `mode`; fails the test when unrtf cannot run.
  std::string Unrtf(const char* mode) {
    const std::string command =
        std::string("unrtf ") + mode + " '" + path_ + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
      ADD_FAILURE() << "cannot run: " << command;
      return "";
    }
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << command << " (is unrtf installed? see "
                         << "scripts/setup.sh)";
    return out;
  }

  std::string path_;
};

// Each fragment must appear, in this order.
void ExpectInOrder(const std::string& text, const char* const* fragments,
                   size_t count) {
  size_t at = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t found = text.find(fragments[i], at);
    ASSERT_NE(found, std::string::npos)
        << "fragment " << i << " \"" << fragments[i] << "\" missing after "
        << "offset " << at << " in:\n" << text;
    at = found + std::string(fragments[i]).size();
  }
}

TEST_F(UnrtfTest, WordsInOrder) {
  const std::string text = Unrtf("--text");
  const char* const fragments[] = {
      "Licence Terms\n",
      "Plain text with red words and blue words.\n",
      "marked words centred line\n",
      // unrtf's text mode writes "?" for everything outside ASCII.
      "Gr??",
      "Visit [#~RTF_LINK_0:S#]http://example.org/[#~RTF_LINK_:URL#]the site"
      "[#~RTF_LINK_0:E#] now & then.",
  };
  ExpectInOrder(text, fragments, std::size(fragments));
  EXPECT_EQ(text.find("hidden"), std::string::npos);
  EXPECT_EQ(text.find('<'), std::string::npos);
}

TEST_F(UnrtfTest, BoldColoursAndCharacters) {
  const std::string html = Unrtf("--html");
  const char* const fragments[] = {
      "<b>Licence Terms</b>",
      "Plain text with <font color=\"#ff0000\">red words</font>",
      "> and </font>",
      "<font color=\"#0000ff\">blue words</font>",
      "<span style=\"background:#ffff00\">marked words</span>",
      "centred line",
      // unrtf drops the letter that directly follows a "\uN ?" escape (it
      // skips the whole word after the escape instead of the one fallback
      // character), so the "e" after the sharp s is not checked here; the
      // rich-edit test on Windows reads the word whole.
      "<b>Gr&ouml;&szlig;",
      " &mdash; &#20385;&#26684;</b>",
      "Visit [#~RTF_LINK_0:S#]http://example.org/",
  };
  ExpectInOrder(html, fragments, std::size(fragments));
  // Exactly the two headings are bold.
  size_t bold = 0;
  for (size_t at = html.find("<b>"); at != std::string::npos;
       at = html.find("<b>", at + 1)) {
    ++bold;
  }
  EXPECT_EQ(bold, 2u);
}

}  // namespace
}  // namespace cc::win
