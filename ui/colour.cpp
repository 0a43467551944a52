#include "ui/colour.h"

#include <algorithm>
#include <cstdlib>

namespace cc::win {

bool ParseDecimal(const Str& text, int* out) {
  std::u16string_view v = text.IsNull() ? std::u16string_view() : text.View();
  size_t begin = 0, end = v.size();
  while (begin < end && v[begin] == u' ') ++begin;
  while (end > begin && v[end - 1] == u' ') --end;
  bool negative = false;
  if (begin < end && (v[begin] == u'-' || v[begin] == u'+')) {
    negative = v[begin] == u'-';
    ++begin;
  }
  if (begin == end) return false;
  int64_t value = 0;
  for (size_t i = begin; i < end; ++i) {
    if (v[i] < u'0' || v[i] > u'9') return false;
    value = value * 10 + (v[i] - u'0');
    if (value > 2147483648LL) return false;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return false;
  *out = static_cast<int>(value);
  return true;
}

bool ParseColour(const Str& text, Colour* out, Str* reason) {
  int value = 0;
  if (!ParseDecimal(text, &value) || value < 0 || value > 0xFFFFFF) {
    if (reason) {
      *reason = Str(u"not a colour (a decimal number from 0 to 16777215): '");
      *reason += text.IsNull() ? Str(u"") : text;
      *reason += Str(u"'");
    }
    return false;
  }
  *out = static_cast<Colour>(value);
  return true;
}

int GradientSteps(Colour a, Colour b) {
  int n = std::max({std::abs(RedOf(b) - RedOf(a)), std::abs(GreenOf(b) - GreenOf(a)),
                    std::abs(BlueOf(b) - BlueOf(a))});
  return std::max(n, 1);
}

int GradientStripLength(Colour a, Colour b, int width, int height, bool vertical) {
  int n = GradientSteps(a, b);
  if (width < 1 || height < 1) return n;
  return std::min(vertical ? height : width, n);
}

Colour GradientStripPixel(Colour a, Colour b, int i, int length) {
  if (length < 1) length = 1;
  auto channel = [&](int ca, int cb) { return ca + (i * (cb - ca)) / length; };
  return MakeColour(channel(RedOf(a), RedOf(b)), channel(GreenOf(a), GreenOf(b)),
                    channel(BlueOf(a), BlueOf(b)));
}

Colour DarkenColour(Colour c, int amount) {
  amount = std::clamp(amount, 0, 255);
  auto scale = [&](int v) { return v * (255 - amount) / 255; };
  return MakeColour(scale(RedOf(c)), scale(GreenOf(c)), scale(BlueOf(c)));
}

}  // namespace cc::win
