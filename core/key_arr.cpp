#include "core/key_arr.h"

namespace cc {
namespace {

constexpr const char16_t* kNotFoundMarker = u"[NOFOUND]";

ContainerOptions TableOptions(bool ignoreCase) {
  return ContainerOptions{.sorted = true, .unique = true, .ignoreCase = ignoreCase};
}

bool ReadsTrue(const Str& value) {
  return value.Equals(u"1") || value.Equals(u"Yes", true) || value.Equals(u"true", true);
}

}  // namespace

KeyArr::KeyArr(bool notFoundMarker, bool ignoreCase)
    : notFoundMarker_(notFoundMarker), ignoreCase_(ignoreCase), table_(TableOptions(ignoreCase)) {}

KeyArr::~KeyArr() = default;

Str KeyArr::Get(const Str& key) const {
  const Str* value = table_.Find(key);
  if (value) return *value;
  return notFoundMarker_ ? key + kNotFoundMarker : Str();
}

int KeyArr::GetInt(const Str& key, int defaultValue) const {
  const Str* value = table_.Find(key);
  if (!value || value->IsEmpty()) return defaultValue;
  return value->ToInt();
}

bool KeyArr::GetBool(const Str& key, bool defaultValue) const {
  const Str* value = table_.Find(key);
  if (!value) return defaultValue;
  return ReadsTrue(*value);
}

bool KeyArr::Has(const Str& key) const { return table_.ContainsKey(key); }

int KeyArr::IndexOf(const Str& key) const { return table_.IndexOfKey(key); }

int KeyArr::Count() const { return table_.GetSize(); }

Str KeyArr::KeyAt(int index) const { return table_.GetKey(index); }

Str KeyArr::ValueAt(int index) const {
  if (index >= 0 && index < table_.GetSize()) return table_.GetValue(index);
  return notFoundMarker_ ? Str::Formatted(u"%d%s", index, kNotFoundMarker) : Str();
}

void KeyArr::SetValueAt(int index, const Str& value) {
  if (index < 0 || index >= table_.GetSize()) return;
  table_.SetValue(index, value.IsNull() ? Str(u"") : value);
  modified_ = true;
}

void KeyArr::Set(const Str& key, const Str& value) {
  if (value.IsNull()) {
    table_.Remove(key);
  } else {
    table_.Add(key, value);
  }
  modified_ = true;
}

void KeyArr::SetInt(const Str& key, int value) { Set(key, Str::Formatted(u"%d", value)); }

void KeyArr::SetBool(const Str& key, bool value) { Set(key, value ? Str(u"1") : Str(u"0")); }

void KeyArr::Remove(const Str& key) {
  table_.Remove(key);
  modified_ = true;
}

void KeyArr::Clear() {
  table_.Clear();
  modified_ = true;
}

void KeyArr::SetIgnoreCase(bool ignoreCase) {
  ignoreCase_ = ignoreCase;
  table_.SetIgnoreCase(ignoreCase);
}

}  // namespace cc
