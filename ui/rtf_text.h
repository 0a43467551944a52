// Text as it goes into an RTF document: RTF's markup characters escaped,
// characters above U+007F written as Unicode escapes ("\uN ?"). Only ASCII
// goes as a byte: the document's font table declares a double-byte
// character set, and rich-edit controls decode text bytes with the font's
// code page, so a raw Latin-1 byte would turn into a different character
// and swallow the next one.
#pragma once

#include <string>
#include <string_view>

namespace cc::win {

// Appends the UTF-8 page text `bytes`: the backslash and braces escaped, a
// line break with the blanks around it written as one space (as a browser
// shows it; RTF itself ignores line ends). Invalid UTF-8 becomes U+FFFD.
void AppendRtfText(std::string& out, std::string_view bytes);

// Appends the UTF-8 link target `bytes` so that it reads back exactly:
// the backslash and braces escaped, line ends kept.
void AppendRtfLinkTarget(std::string& out, std::string_view bytes);

// Appends `text` with the entities &nbsp; &quot; &amp; &lt; &gt; &#039;
// replaced by their characters, in one pass: "&amp;lt;" stays the text
// "&lt;".
void AppendDecodingEntities(std::string& out, std::string_view text);

}  // namespace cc::win
