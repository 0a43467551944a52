// What a link label on a page opens when the project gives it only a text
// ("brindlecraft.example", "https://example.org/help", "mailto:x@y").
#pragma once

#include "core/str.h"

namespace wizard {

// `text` with blanks trimmed; a bare host name or address without a scheme
// ("example.org/help") is taken as a web address and gets "https://" in
// front. Null when the text cannot be an address (empty, or with blanks
// inside); the link policy still decides whether a result may be opened.
cc::Str LinkTargetOfText(const cc::Str& text);

}  // namespace wizard
