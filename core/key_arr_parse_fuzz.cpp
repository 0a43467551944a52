// KeyArr::Parse over arbitrary text: the bytes read as UTF-8 and as raw
// UTF-16. Whatever the text, the table must stay sorted with unique keys,
// every key must be found at its own index, and parsing must count no more
// entries than there are lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/key_arr.h"

namespace {

void CheckTable(const cc::KeyArr& store) {
  for (int i = 0; i < store.Count(); ++i) {
    if (i > 0 && store.KeyAt(i - 1).Compare(store.KeyAt(i), store.IgnoreCase()) >= 0) __builtin_trap();
    if (store.IndexOf(store.KeyAt(i)) != i) __builtin_trap();
    if (store.ValueAt(i).IsNull()) __builtin_trap();
  }
}

void ParseAndCheck(const cc::Str& text, bool ignoreCase) {
  cc::KeyArr store(false, ignoreCase);
  store.Set(u"s.c.Width", u"1");
  const int stored = store.Parse(text);
  int lines = 1;
  for (char16_t c : text.View()) lines += c == u'\n';
  if (stored < 0 || stored > lines) __builtin_trap();
  CheckTable(store);
  // A second parse of the same text changes no key set and no value.
  cc::KeyArr again(store);
  again.Parse(text);
  if (again.Count() != store.Count()) __builtin_trap();
  for (int i = 0; i < store.Count(); ++i) {
    if (!(again.ValueAt(i) == store.ValueAt(i))) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ParseAndCheck(cc::Str::FromUtf8(bytes), size % 2 == 0);
  ParseAndCheck(cc::Str::FromBytes(bytes.data(), static_cast<int>(size), cc::kCodePageUtf16LE), size % 2 != 0);
  return 0;
}
