#include "runtime/result_store.h"

#include <string_view>
#include <utility>
#include <vector>

#include "core/item_fields.h"
#include "runtime/path_macros.h"

const char16_t* const kShortcutLocationNames[kShortcutLocationCount] = {
    u"Menu", u"Desk", u"Start", u"Startup", u"Sendto", u"Quick", u"TaskPinned", u"StartScreen"};

namespace {

constexpr int kKindComponent = 2;
constexpr int kKindFile = 5;
constexpr int kSetupTypeSlots = 6;
constexpr uint32_t kDefaultSetupType = 0x1000000;
constexpr uint32_t kNoTypeChecked = 1u << 30;
constexpr uint32_t kNoTypeUnchecked = 1u << 31;
const char16_t kIndentStep[] = u"    ";

// Field `number` (counted from 1) of an item value; empty when the item has
// fewer fields.
cc::Str ItemField(const cc::Str& item, int number) {
  cc::Str field = cc::SplitItemFields(item, number)[number - 1];
  return field.IsNull() ? cc::Str(u"") : field;
}

bool IsChecked(uint32_t state, int typeIndex) {
  if (typeIndex < 0) return (state & kNoTypeChecked) && !(state & kNoTypeUnchecked);
  if (typeIndex >= 16) return false;
  return (state >> (2 * typeIndex)) & 0x3;
}

void VisitComponent(cc::KeyArr& store, const cc::Str& langCode, int typeIndex, int n,
                    uint32_t state, cc::Str& text, const cc::Str& indent, int64_t& totalSize,
                    int& checkedCount, int& firstUnchecked) {
  cc::Str checkedKey = cc::Str::Formatted(u"Ret.Customize.Checked%d", n);
  bool checked = IsChecked(state, typeIndex) || store.GetBool(checkedKey, false);
  store.SetBool(checkedKey, checked);
  if (!checked) {
    if (firstUnchecked < 0) firstUnchecked = n;
    return;
  }
  ++checkedCount;
  cc::Str name = store.Get(cc::Str::Formatted(u"s.f.%d.Item.L%s.1", n, langCode.GetBuffer()));
  name.Trim();
  if (!name.IsEmpty()) text += indent + name + cc::Str(u"\r\n");
  if (!store.GetBool(cc::Str::Formatted(u"s.f.%d.Item.HasSubGroup", n), false)) {
    totalSize += store.GetInt(cc::Str::Formatted(u"s.f.%d.Item.Size", n), 0);
  }
}

cc::Str ApplicationFolder(cc::KeyArr& store, Platform& platform) {
  cc::Str folder = ExpandDirMacro(store.Get(u"s.i.Comp.editAppTxt"), store, platform);
  folder += store.Get(u"s.i.Comp.editAppDir");
  if (!folder.IsEmpty() && !folder.EndsWith(u"\\")) folder += u"\\";
  return folder;
}

// The default setup type (0) when any type is marked as default, else -1.
int ChooseSetupType(cc::KeyArr& store, const cc::Str& langCode) {
  for (int n = 0; n < kSetupTypeSlots; ++n) {
    uint32_t flag = static_cast<uint32_t>(store.GetInt(cc::Str::Formatted(u"s.i.Type.%d.Flag", n), 0));
    if (flag & kDefaultSetupType) {
      store.SetInt(u"Ret.Content.Index", 0);
      store.Set(u"Ret.Content.Text",
                store.Get(cc::Str::Formatted(u"%s.s.i.Type.%d.Item", langCode.GetBuffer(), 0)));
      return 0;
    }
  }
  return -1;
}

struct WalkResult {
  cc::Str text{u""};
  int64_t totalSize = 0;
  int checkedCount = 0;
  int firstUnchecked = -1;
};

WalkResult WalkFromRoot(cc::KeyArr& store, const cc::Str& langCode, int typeIndex) {
  WalkResult result;
  int itemIndex = 0;
  WalkComponents(store, langCode, typeIndex, itemIndex, result.text, cc::Str(kIndentStep),
                 result.totalSize, result.checkedCount, result.firstUnchecked);
  return result;
}

// The index in a key "s.i.Short.<index>.Flag" (as "%d" writes it), or -1.
int ShortcutFlagIndex(const cc::Str& key) {
  static const cc::Str kPrefix(u"s.i.Short.");
  static const cc::Str kSuffix(u".Flag");
  if (!key.StartsWith(kPrefix, true) || !key.EndsWith(kSuffix, true)) return -1;
  std::u16string_view digits = key.View().substr(kPrefix.GetLength());
  if (digits.size() <= static_cast<size_t>(kSuffix.GetLength())) return -1;
  digits.remove_suffix(kSuffix.GetLength());
  if (digits.size() > 10 || (digits.size() > 1 && digits[0] == u'0')) return -1;
  int64_t index = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return -1;
    index = index * 10 + (c - u'0');
  }
  return index > INT32_MAX ? -1 : static_cast<int>(index);
}

void ChooseShortcut(cc::KeyArr& store, int i, uint32_t flag) {
  for (int j = 0; j < kShortcutLocationCount; ++j) {
    if (flag & ((1u << j) | (0x1000u << j))) {
      store.Set(cc::Str::Formatted(u"Ret.Shortcut.chkShort%d_%d", i, j), u"1");
    }
  }
}

// Shortcuts 0 to "s.i.Short.Count" - 1. Only shortcuts that have a flag word
// can choose a location, so the keys of the store are walked instead of
// the count: a mistyped huge count cannot stall the start.
void ChooseShortcuts(cc::KeyArr& store) {
  int count = store.GetInt(u"s.i.Short.Count", 0);
  std::vector<std::pair<int, uint32_t>> flags;
  for (int k = 0; k < store.Count(); ++k) {
    int i = ShortcutFlagIndex(store.KeyAt(k));
    if (i >= 0 && i < count) flags.emplace_back(i, static_cast<uint32_t>(store.GetInt(store.KeyAt(k), 0)));
  }
  for (const auto& [i, flag] : flags) ChooseShortcut(store, i, flag);
}

}  // namespace

void WalkComponents(cc::KeyArr& store, const cc::Str& langCode, int typeIndex, int& itemIndex,
                    cc::Str& text, const cc::Str& indent, int64_t& totalSize, int& checkedCount,
                    int& firstUnchecked) {
  const int parent = itemIndex;
  for (int n = parent + 1;; n = itemIndex + 1) {
    cc::Str item = store.Get(cc::Str::Formatted(u"s.f.%d.Item", n));
    if (item.IsNull()) return;
    int itemParent = ItemField(item, 1).ToInt();
    int kind = ItemField(item, 2).ToInt();
    if (itemParent < 0 || itemParent != parent || kind < 0) return;
    itemIndex = n;
    if (kind == kKindComponent) {
      // Field 6 may be written signed or unsigned; its 32 bits are what count.
      uint32_t state = static_cast<uint32_t>(ItemField(item, 6).ToInt64());
      VisitComponent(store, langCode, typeIndex, n, state, text, indent, totalSize, checkedCount,
                     firstUnchecked);
    }
    if (kind != kKindFile) {
      WalkComponents(store, langCode, typeIndex, itemIndex, text, indent + cc::Str(kIndentStep),
                     totalSize, checkedCount, firstUnchecked);
    }
  }
}

void ComputeInitialResults(cc::KeyArr& store, const cc::Str& langCode, Platform& platform) {
  store.Set(u"Ret.Location.AllUser", u"1");
  cc::Str appFolder = ApplicationFolder(store, platform);
  store.Set(u"Ret.Dir.App", appFolder);
  store.Set(u"Ret.Location.Path", appFolder);

  cc::Str menu = store.Get(langCode + cc::Str(u".s.i.Short.PrgMenu"));
  store.Set(u"Ret.Menu.InitPath", menu);
  store.Set(u"Ret.Menu.Path", menu);
  store.Set(u"Ret.Customize.Show", u"1");

  int typeIndex = ChooseSetupType(store, langCode);
  WalkResult walk = WalkFromRoot(store, langCode, typeIndex);
  if (walk.checkedCount == 0 && walk.firstUnchecked > 0) {
    store.SetBool(cc::Str::Formatted(u"Ret.Customize.Checked%d", walk.firstUnchecked), true);
    walk = WalkFromRoot(store, langCode, typeIndex);
  }
  store.Set(u"Ret.Customize.Text", walk.text);
  store.Set(u"Ret.Location.Required", cc::Str::Formatted(u"%I64d", walk.totalSize));

  ChooseShortcuts(store);
}
