#include "ui/rtf_creater.h"

#include <gtest/gtest.h>

#include <string>

namespace cc::win {
namespace {

constexpr int kSize = 20;

// The document around a converted body: header with the colour table, the
// default size, then the body and the closing brace.
std::string Doc(const std::string& body, const std::string& colors = "") {
  return "{\\rtf1\\ansi\\deff0"
         "{\\fonttbl{\\f0\\fmodern\\fprq2\\fcharset128 MS UI Gothic;}}\r\n"
         "{\\colortbl ;" + colors + "}\r\n"
         "\\viewkind4\\fs20" + body + "}\r\n";
}

constexpr const char* kRed = "\\red255\\green0\\blue0;";
constexpr const char* kBlue = "\\red0\\green0\\blue255;";
constexpr const char* kYellow = "\\red255\\green255\\blue0;";

struct Case {
  const char* what;
  std::string html;
  std::string rtf;
};

void RunCases(const Case* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    RTFCreater creater;
    const std::string& got =
        creater.Convert(cases[i].html.data(),
                        static_cast<int>(cases[i].html.size()), kSize);
    EXPECT_EQ(got, cases[i].rtf) << "case " << i << ": " << cases[i].what;
  }
}

TEST(RTFCreaterTest, TagsAndText) {
  const Case cases[] = {
      // The first blank after a control word separates it; the second is
      // the text's own.
      {"bold", "<b>bold</b> text", Doc("\\b bold\\b0  text")},
      {"italic underline strike", "<i>i</i><u>u</u><s>s</s>",
       Doc("\\i i\\i0\\ul u\\ulnone\\strike s\\strike0")},
      {"upper-case tags", "<B>x</B>", Doc("\\b x\\b0")},
      {"line breaks", "a<BR>b<br/>c<br >d", Doc(" a\\par b\\par c\\par d")},
      {"unknown tag dropped", "x<bx>y<html lang=en>z", Doc(" xyz")},
      {"p with attributes", "<p class=\"c\">t", Doc("\\par t")},
      {"closing p writes nothing", "<p>para</p>", Doc("\\par para")},
      {"a lone < as last byte", "a<", Doc(" a<")},
      {"empty input", "", Doc("")},
      // Typed text is text: it cannot open a group or start a control word.
      {"RTF markup in text escaped", "a\\tab b{x}", Doc(" a\\\\tab b\\{x\\}")},
      {"unbalanced brace in text", "a}b{", Doc(" a\\}b\\{")},
      {"byte-order mark skipped", "\xEF\xBB\xBFhi", Doc(" hi")},
      {"UTF-16 mark skipped", "\xFF\xFEhi", Doc(" hi")},
      {"comment, script and style dropped",
       "a<!-- c -->b<script>x<y</script>c<STYLE>p{}</STYLE>d", Doc(" abcd")},
      {"RTF comment markers",
       "a<!-- [#~RTF_COMM:S#] -->hid<b>den<!-- [#~RTF_COMM:E#] -->b",
       Doc(" ab")},
  };
  RunCases(cases, std::size(cases));
}

// RTF ignores line ends, so a line break of the source must become the
// space a browser shows, or the words on both sides run together.
TEST(RTFCreaterTest, LineBreaksInSource) {
  const Case cases[] = {
      {"LF", "one\ntwo", Doc(" one two")},
      {"CRLF is one space", "one\r\ntwo", Doc(" one two")},
      {"CR alone", "one\rtwo", Doc(" one two")},
      {"blanks around the break collapse", "one  \t\n\n  two", Doc(" one two")},
      {"break before a tag", "one\n<b>two</b>", Doc(" one \\b two\\b0")},
      {"break after a tag", "<b>one</b>\ntwo", Doc("\\b one\\b0  two")},
      {"blanks without a break stay", "one  two", Doc(" one  two")},
      {"break beside an escape", "a{\nb", Doc(" a\\{ b")},
      {"break after a line break", "one<br>\ntwo", Doc(" one\\par two")},
      {"break after a paragraph", "<p>\r\n  two", Doc("\\par two")},
      {"break after a closing DIV", "<div>a</div>\nb", Doc(" a\\par\\pard b")},
      {"text that reads like a break", "C:\\par\nx", Doc(" C:\\\\par x")},
  };
  RunCases(cases, std::size(cases));
}

TEST(RTFCreaterTest, Entities) {
  const Case cases[] = {
      {"all six", "&lt;b&gt; &amp; &quot;q&quot; &#039;s&nbsp;.",
       Doc(" <b> & \"q\" 's .")},
      {"ampersand alone", "a & b &x; &", Doc(" a & b &x; &")},
      // Decoded once: an escaped entity stays visible as written.
      {"escaped entity", "&amp;lt;", Doc(" &lt;")},
      {"entities in a link target", "<a href=\"?a=1&amp;b=2\">x</a>",
       Doc(" [#~RTF_LINK_0:S#]?a=1&b=2[#~RTF_LINK_:URL#]x"
           "[#~RTF_LINK_0:E#]")},
  };
  RunCases(cases, std::size(cases));
}

TEST(RTFCreaterTest, RtfPassesThrough) {
  const Case cases[] = {
      {"RTF unchanged", "{\\rtf1\\ansi hello &amp; <b>}",
       "{\\rtf1\\ansi hello &amp; <b>}"},
      // Seven bytes are too few to be RTF.
      // Text that is not RTF is shown as typed, its markup escaped.
      {"too short for RTF", "{\\rtf1\\", Doc(" \\{\\\\rtf1\\\\")},
      {"signature is case-sensitive", "{\\RTF1\\ansi}",
       Doc(" \\{\\\\RTF1\\\\ansi\\}")},
  };
  RunCases(cases, std::size(cases));
}

TEST(RTFCreaterTest, ColoursSizesAndHighlight) {
  const std::string red = kRed, blue = kBlue;
  const Case cases[] = {
      {"nested FONT colours",
       "<font color=#ff0000>r<font color=\"#0000FF\">b</font>r2</font>n",
       Doc("\\cf1 r\\cf2 b\\cf1 r2\\cf0 n", red + blue)},
      {"a colour is entered once", "<font color=#ff0000>a</font>b"
       "<font color=#ff0000>c</font>",
       Doc("\\cf1 a\\cf0 b\\cf1 c", red)},
      {"bad colours ignored",
       "<font color=#ff00>a</font><font color=#gg0000>b</font>"
       "<font color=ff0000x>c</font>",
       Doc(" abc")},
      {"SPAN background highlights",
       "<span style=\"background:#ffff00\">hi</span>x",
       Doc("\\highlight1 hi\\highlight0 x", kYellow)},
      {"style colour with blanks",
       "<span style='color : #0000ff ; font-size: 12px'>t</span>",
       Doc("\\cf1\\fs24 t", blue)},
      {"FONT size is times six", "<font size=3>t</font>u",
       Doc("\\fs18 t\\fs20 u")},
      {"size only on FONT", "<span size=3 color=#ff0000>t</span>", Doc(" t")},
      {"size zero is not written", "<font size=x>t</font>u", Doc(" t\\fs20 u")},
      {"huge size saturates", "<font size=99999999999>t</font>",
       Doc("\\fs600000 t")},
      // A longer property name that ends in a known one is not that one.
      {"background-color is not color",
       "<span style=\"background-color:#ff0000\">t</span>", Doc(" t")},
      {"bgcolor is not color", "<font bgcolor=#ff0000>t</font>", Doc(" t")},
      {"short style ignored", "<span style=\"a:1\">t</span>", Doc(" t")},
      {"declaration without colon",
       "<span style=\"color #ff0000; x\">t</span>", Doc(" t")},
      // After an element that changed nothing closes, the text must still
      // return to the colour of its own level.
      {"empty element after a colour",
       "<font color=#ff0000>red</font><span></span>plain",
       Doc("\\cf1 red\\cf0 plain", red)},
      {"mismatched end tag pops nothing",
       "<font color=#ff0000>a</span>b</font>c",
       Doc("\\cf1 ab\\cf0 c", red)},
  };
  RunCases(cases, std::size(cases));
}

TEST(RTFCreaterTest, ParagraphsAndAlignment) {
  const Case cases[] = {
      // Only a DIV writes an alignment; it clears what others left pending.
      {"alignment only from a DIV",
       "<span align=center>a</span><font align=right>b</font>"
       "<a align=left href=x>c</a><div align=right>d</div>",
       Doc(" ab[#~RTF_LINK_0:S#]x[#~RTF_LINK_:URL#]c[#~RTF_LINK_0:E#]"
           "\\qr d\\par\\pard")},
      {"style text-align on DIV", "<div style=\"text-align:center\">c</div>",
       Doc("\\qc c\\par\\pard")},
      {"unknown alignment dropped", "<div align=justify>c</div>",
       Doc(" c\\par\\pard")},
      {"nested DIV starts a paragraph", "<div>a<div>b</div></div>",
       Doc(" a\\par\\pard b\\par\\pard")},
      {"no double paragraph end", "a<br></div><div>b</div>",
       Doc(" a\\par b\\par\\pard")},
      {"CENTER", "<center>c</center>d",
       Doc("\\par\\pard\\qc c\\par\\pard d")},
  };
  RunCases(cases, std::size(cases));
}

TEST(RTFCreaterTest, Links) {
  const Case cases[] = {
      {"link with markers", "<a href=\"http://x.org/\">site</a> end",
       Doc(" [#~RTF_LINK_0:S#]http://x.org/[#~RTF_LINK_:URL#]site"
           "[#~RTF_LINK_0:E#] end")},
      {"counter per link", "<a href=a>1</a><b>x</b><A HREF='b'>2</A>",
       Doc(" [#~RTF_LINK_0:S#]a[#~RTF_LINK_:URL#]1[#~RTF_LINK_0:E#]"
           "\\b x\\b0 [#~RTF_LINK_1:S#]b[#~RTF_LINK_:URL#]2"
           "[#~RTF_LINK_1:E#]")},
      {"missing end tag", "<a href=mailto:me@x.org>mail",
       Doc(" [#~RTF_LINK_0:S#]mailto:me@x.org[#~RTF_LINK_:URL#]mail")},
      {"A without href", "<a name=top>t</a>", Doc(" t")},
      {"stray second end tag", "<a href=x>t</a></a>",
       Doc(" [#~RTF_LINK_0:S#]x[#~RTF_LINK_:URL#]t[#~RTF_LINK_0:E#]")},
      // The target is data: it must read back exactly.
      {"special characters in target", "<a href=\"C:\\d\\{x}\">t</a>",
       Doc(" [#~RTF_LINK_0:S#]C:\\\\d\\\\\\{x\\}[#~RTF_LINK_:URL#]t"
           "[#~RTF_LINK_0:E#]")},
      {"non-ASCII target", "<a href=\"http://\xE4\xBE\xA1.jp\">t</a>",
       Doc(" [#~RTF_LINK_0:S#]http://\\u20385 ?.jp[#~RTF_LINK_:URL#]t"
           "[#~RTF_LINK_0:E#]")},
      {"quoted value ends at line end", "<a href=\"x\ny\">t</a>",
       Doc(" [#~RTF_LINK_0:S#]x[#~RTF_LINK_:URL#]t[#~RTF_LINK_0:E#]")},
  };
  RunCases(cases, std::size(cases));
}

TEST(RTFCreaterTest, Utf8) {
  const Case cases[] = {
      // Raw bytes above ASCII would be read in the font's double-byte code
      // page; they are written as Unicode escapes.
      {"Latin-1 range", "Gr\xC3\xB6\xC3\x9F" "e", Doc(" Gr\\u246 ?\\u223 ?e")},
      {"C1 range", "\xC2\x80", Doc(" \\u128 ?")},
      {"U+00FF is escaped", "\xC3\xBF", Doc(" \\u255 ?")},
      {"BMP", "\xE2\x80\x94\xE4\xBE\xA1", Doc(" \\u8212 ?\\u20385 ?")},
      {"surrogate pair", "\xF0\x9F\x98\x80", Doc(" \\u55357 ?\\u56832 ?")},
      {"invalid byte", "a\xFF" "b", Doc(" a\\u65533 ?b")},
      {"truncated sequence at end", "a\xE4\xBE", Doc(" a\\u65533 ?")},
      {"truncated sequence before tag", "a\xE4<b>",
       Doc(" a\\u65533 ?\\b")},
      {"overlong form", "\xC0\xAF", Doc(" \\u65533 ?\\u65533 ?")},
      {"encoded surrogate", "\xED\xA0\x80",
       Doc(" \\u65533 ?\\u65533 ?\\u65533 ?")},
  };
  RunCases(cases, std::size(cases));
}

// Input that ends inside a construct converts without reading past the end
// and without losing the text that follows a stray "<".
TEST(RTFCreaterTest, TruncatedInput) {
  const Case cases[] = {
      {"tag without >", "a <b c", Doc(" a <b c")},
      {"lone < in text", "x < y", Doc(" x < y")},
      {"< before a later tag is dropped up to >", "x < y <b>z",
       Doc(" x z")},
      {"unterminated quote", "<a href=\"abc>t", Doc(
          " [#~RTF_LINK_0:S#]abc[#~RTF_LINK_:URL#]t")},
      {"unterminated comment", "x<!-- never closed", Doc(" x")},
      {"unterminated script", "x<script>y", Doc(" x")},
      {"tag name cut at end", "x<fon", Doc(" x<fon")},
      {"closing tag cut", "x</b", Doc(" x</b")},
      {"opening cut after name", "x<b", Doc(" x<b")},
      {"A needs three bytes", "x<a>", Doc(" x")},
      {"attribute without value", "<font color>t</font>", Doc(" t")},
      {"value cut at >", "<font color=>t</font>", Doc(" t")},
  };
  RunCases(cases, std::size(cases));
}

TEST(RTFCreaterTest, LengthAndReuse) {
  RTFCreater creater;
  const char text[] = "<b>x</b>\0<i>hidden</i>";
  EXPECT_EQ(creater.Convert(text, -1, kSize), Doc("\\b x\\b0"));
  EXPECT_EQ(creater.Convert(text, 3, kSize), Doc("\\b"));
  EXPECT_EQ(creater.Convert(nullptr, -1, kSize), Doc(""));
  // A second conversion starts afresh: colours and link numbers reset.
  creater.Convert("<font color=#0000ff><a href=q>l</a></font>", -1, kSize);
  EXPECT_EQ(creater.Convert("<font color=#ff0000>r</font><a href=z>l</a>",
                            -1, kSize),
            Doc("\\cf1 r[#~RTF_LINK_0:S#]z[#~RTF_LINK_:URL#]\\cf0 l"
                "[#~RTF_LINK_0:E#]",
                kRed));
  // Rtf() holds the last conversion, not an earlier one.
  EXPECT_EQ(creater.Rtf(), Doc("\\cf1 r[#~RTF_LINK_0:S#]z[#~RTF_LINK_:URL#]\\cf0 l"
                               "[#~RTF_LINK_0:E#]",
                               kRed));
  creater.Convert("<i>y</i>", -1, kSize);
  EXPECT_EQ(creater.Rtf(), Doc("\\i y\\i0"));
  EXPECT_NE(creater.Convert("x", -1, 30).find("\\viewkind4\\fs30 x}"),
            std::string::npos);
}

}  // namespace
}  // namespace cc::win
