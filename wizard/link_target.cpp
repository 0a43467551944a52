#include "wizard/link_target.h"

namespace wizard {

cc::Str LinkTargetOfText(const cc::Str& text) {
  cc::Str target = text.IsNull() ? cc::Str(u"") : text;
  target.Trim();
  if (target.IsEmpty() || target.IndexOf(u' ') >= 0 || target.IndexOf(u'\t') >= 0) return cc::Str();
  if (target.IndexOf(u"://") > 0 || target.StartsWith(u"mailto:", true)) return target;
  if (target.IndexOf(u':') >= 0 || target.IndexOf(u'.') <= 0) return cc::Str();
  return cc::Str(u"https://") + target;
}

}  // namespace wizard
