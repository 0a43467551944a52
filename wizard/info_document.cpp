#include "wizard/info_document.h"

namespace wizard {

DocumentKind DocumentKindOf(const cc::Str& name) {
  int dot = name.LastIndexOf(u'.');
  if (dot < 0) return DocumentKind::kNone;
  cc::Str extension = name.Substring(dot);
  // A dot in a folder name is no extension.
  if (extension.IndexOf(u'\\') >= 0 || extension.IndexOf(u'/') >= 0) return DocumentKind::kNone;
  if (extension.Equals(u".txt", true)) return DocumentKind::kText;
  if (extension.Equals(u".rtf", true)) return DocumentKind::kRtf;
  if (extension.Equals(u".htm", true) || extension.Equals(u".html", true)) return DocumentKind::kHtml;
  return DocumentKind::kNone;
}

cc::Str PlainDocumentText(const std::string& bytes) {
  std::string_view view(bytes);
  if (view.starts_with("\xEF\xBB\xBF")) return cc::Str::FromUtf8(view.substr(3));
  if (view.starts_with("\xFF\xFE")) {
    return cc::Str::FromBytes(view.data() + 2, static_cast<int>(view.size() - 2), cc::kCodePageUtf16LE);
  }
  if (view.starts_with("\xFE\xFF")) {
    return cc::Str::FromBytes(view.data() + 2, static_cast<int>(view.size() - 2), cc::kCodePageUtf16BE);
  }
  return cc::Str::FromBytes(view.data(), static_cast<int>(view.size()), cc::kCodePageAnsi)
      .ToCodePage(cc::kCodePageUtf16LE);
}

}  // namespace wizard
