// The documents that the information and licence pages show: which kind a
// payload file is by its name, and how a plain-text document's bytes become
// text.
#pragma once

#include <string>

#include "core/str.h"

namespace wizard {

enum class DocumentKind {
  kNone,   // not shown
  kText,   // ".txt"
  kRtf,    // ".rtf"
  kHtml,   // ".htm", ".html"
};

// The kind of the document named `name` by its extension (letter case
// ignored); kNone for any other extension or none.
DocumentKind DocumentKindOf(const cc::Str& name);

// The text of a plain-text document: the whole of `bytes` (never more; the
// buffer needs no terminating zero) in the system's ANSI code page, or as
// UTF-8 / UTF-16 when it begins with that encoding's byte-order mark (which
// is dropped).
cc::Str PlainDocumentText(const std::string& bytes);

}  // namespace wizard
