#include "runtime/run_conditions.h"

#include "platform/os_version.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "runtime/os_flags.h"

namespace {

const char16_t kVersionError[] = u".s.i.Var.ConditionError2";
const char16_t kRegistryError[] = u".s.i.Var.ConditionError3";

uint32_t ConditionFlags(const cc::KeyArr& store) {
  return static_cast<uint32_t>(store.GetInt(u"s.i.Condition.Flag", 0));
}

// Compares as the condition asks; false for an unknown comparison type.
template <typename T>
bool Compare(const T& left, const T& right, int type) {
  switch (type) {
    case kRegEqual:
      return left == right;
    case kRegNotEqual:
      return left != right;
    case kRegLess:
      return left < right;
    case kRegLessOrEqual:
      return left <= right;
    case kRegGreater:
      return left > right;
    case kRegGreaterOrEqual:
      return left >= right;
    default:
      return false;
  }
}

bool ValueMeetsCondition(const cc::Str& value, const cc::KeyArr& store, uint32_t flags) {
  cc::Str expected = store.Get(u"s.i.Condition.RegVal");
  int type = store.GetInt(u"s.i.Condition.RegType", 0);
  if (flags & kConditionCompareAsIntegers) return Compare(value.ToInt(), expected.ToInt(), type);
  // Ordinal comparison of UTF-16 units, case-sensitive.
  return Compare(value.View(), expected.View(), type);
}

// A string value holding only its terminator counts as empty, as does a value
// without data; a DWORD 0 does not.
bool IsEmptyValue(bool exists, const RegValue& data, const cc::Str& text) {
  if (!exists || data.data.empty()) return true;
  bool isString = data.type == kRegSz || data.type == kRegExpandSz || data.type == kRegMultiSz;
  return isString && text.IsEmpty();
}

}  // namespace

bool OsMatches(uint32_t flags, const Platform& platform) {
  int is64 = 0;
  int index = GetOsVersion(platform, &is64);
  return OsTest(flags, index, is64);
}

bool RegistryConditionFails(const cc::KeyArr& store, Platform& platform, cc::Str* value,
                            bool* found) {
  uint32_t flags = ConditionFlags(store);
  bool requireValue = (flags & kConditionRequireValue) != 0;
  *found = false;
  *value = cc::Str(u"");
  RegRoot root = RegRootFromIndex(store.GetInt(u"s.i.Condition.RegRoot", 0));
  auto key = platform.registry
                 ? platform.registry->OpenKey(root, store.Get(u"s.i.Condition.RegDir"), RegAccess::kRead)
                 : nullptr;
  if (!key) return requireValue;

  RegValue data;
  bool exists = key->QueryValue(store.Get(u"s.i.Condition.RegKey"), &data);
  cc::Str text = exists ? RegDataAsText(data.data) : cc::Str(u"");
  if (requireValue && IsEmptyValue(exists, data, text)) return true;

  *found = true;
  *value = text;
  return !ValueMeetsCondition(text, store, flags);
}

bool CheckRunConditions(cc::KeyArr& store, Platform& platform) {
  uint32_t flags = ConditionFlags(store);
  if ((flags & kConditionCheckOs) && !OsMatches(flags, platform)) {
    store.Set(u"Ret.ErrorInfo", kVersionError);
    return false;
  }
  cc::Str value;
  bool found = false;
  if ((flags & kConditionCheckRegistry) && RegistryConditionFails(store, platform, &value, &found)) {
    store.Set(u"Ret.ErrorInfo", kRegistryError);
    return false;
  }
  return true;
}
