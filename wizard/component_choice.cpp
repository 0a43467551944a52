#include "wizard/component_choice.h"

#include <string_view>

#include "core/item_fields.h"
#include "runtime/lang_text.h"

namespace wizard {

namespace {

constexpr uint32_t kTypeOffered = 0x1000000;
constexpr uint32_t kTypeShowsComponents = 0x2000000;
constexpr uint32_t kComponentLocked = 0x20000000;
constexpr int kKindComponent = 2;
constexpr int kKindFile = 5;

struct ItemFields {
  int parent = -1;
  int kind = -1;
  uint32_t flags = 0;
  uint32_t mask = 0;
};

// Fields 1, 2, 3 and 6 of an item, separated by ";" and TAB.
bool ReadItem(const cc::KeyArr& config, int n, ItemFields& fields) {
  cc::Str value = config.Get(cc::Str::Formatted(u"s.f.%d.Item", n));
  if (value.IsNull()) return false;
  std::vector<cc::Str> parts = cc::SplitItemFields(value, 6);
  fields.parent = static_cast<int>(parts[0].ToInt64());
  fields.kind = static_cast<int>(parts[1].ToInt64());
  fields.flags = static_cast<uint32_t>(parts[2].ToInt64());
  fields.mask = static_cast<uint32_t>(parts[5].ToInt64());
  // An item has at least its parent and kind fields.
  return value.View().find(cc::kItemFieldSeparator) != std::u16string_view::npos;
}

cc::Str Text(const cc::KeyArr& config, const cc::Str& key) {
  cc::Str value = config.Get(key);
  return value.IsNull() ? cc::Str(u"") : value;
}

}  // namespace

std::vector<SetupType> OfferedTypes(const cc::KeyArr& config, const cc::Str& lang) {
  std::vector<SetupType> types;
  for (int t = 0; t < kMaxSetupTypes; ++t) {
    uint32_t flags = static_cast<uint32_t>(config.GetInt(cc::Str::Formatted(u"s.i.Type.%d.Flag", t), 0));
    if (!(flags & kTypeOffered)) continue;
    cc::Str name = GetLangText(config, lang, cc::Str::Formatted(u".s.i.Type.%d.Item", t));
    if (name.IsNull() || name.IsEmpty()) {
      name = cc::Str::Formatted(u"Item %d", static_cast<int>(types.size()));
    }
    types.push_back({t, name, (flags & kTypeShowsComponents) != 0});
  }
  return types;
}

int TypePosition(const std::vector<SetupType>& types, int number) {
  for (size_t i = 0; i < types.size(); ++i) {
    if (types[i].number == number) return static_cast<int>(i);
  }
  return -1;
}

void ComponentTree::Load(const cc::KeyArr& config, const cc::Str& lang) {
  components_.clear();
  // The walk: items follow their parent directly; a component hangs under
  // the nearest component above it, folders carry sub-items invisibly.
  struct Level {
    int item;
    int component;  // index of the nearest component at or above, -1
  };
  std::vector<Level> stack{{0, -1}};
  for (int n = 1;; ++n) {
    ItemFields fields;
    if (!ReadItem(config, n, fields) || fields.parent < 0 || fields.kind < 0) break;
    while (stack.size() > 1 && stack.back().item != fields.parent) stack.pop_back();
    if (stack.back().item != fields.parent) break;  // a parent that is not on the path
    int above = stack.back().component;
    int self = above;
    if (fields.kind == kKindComponent) {
      Component c;
      c.item = n;
      c.parent = above;
      c.depth = above < 0 ? 0 : components_[above].depth + 1;
      c.name = Text(config, cc::Str::Formatted(u"s.f.%d.Item.L", n) + lang + u".1");
      c.description = Text(config, cc::Str::Formatted(u"s.f.%d.Item.L", n) + lang + u".2");
      c.size = config.Get(cc::Str::Formatted(u"s.f.%d.Item.Size", n)).ToInt64();
      c.hasSubGroup = config.GetBool(cc::Str::Formatted(u"s.f.%d.Item.HasSubGroup", n), false);
      c.locked = (fields.flags & kComponentLocked) != 0;
      c.typeMask = fields.mask;
      c.state = c.locked ? kChecked : kUnchecked;
      components_.push_back(c);
      self = static_cast<int>(components_.size()) - 1;
    }
    if (fields.kind != kKindFile) stack.push_back({n, self});
  }
}

void ComponentTree::ApplyType(int t) {
  for (Component& c : components_) {
    int state = static_cast<int>((c.typeMask >> (2 * t)) & 3);
    c.state = state >= kPartial ? kPartial : state;
    if (c.locked && c.state == kUnchecked) c.state = kChecked;
  }
  SettleGroups();
}

void ComponentTree::SettleGroups() {
  // A type may name a sub-component without its group: the group then
  // shows (and installs as) partly chosen, so that the tree, the size and
  // the install agree. Children follow their parent, so walk backwards.
  for (int i = static_cast<int>(components_.size()) - 1; i >= 0; --i) {
    if (!HasChildren(i)) continue;
    int fromChildren = StateFromChildren(i);
    Component& c = components_[i];
    if (fromChildren != kUnchecked) {
      c.state = fromChildren;
    } else if (c.state != kUnchecked) {
      c.state = kPartial;  // its own items, none of its sub-components
    }
  }
}

void ComponentTree::ApplyStored(const cc::KeyArr& config) {
  for (Component& c : components_) {
    bool on = config.GetBool(cc::Str::Formatted(u"Ret.Customize.Checked%d", c.item), false);
    c.state = (on || c.locked) ? kChecked : kUnchecked;
  }
  SettleGroups();
}

void ComponentTree::KeepStates(const ComponentTree& previous) {
  for (Component& c : components_) {
    for (const Component& old : previous.components_) {
      if (old.item == c.item) c.state = (c.locked && old.state == kUnchecked) ? kChecked : old.state;
    }
  }
  SettleGroups();
}

bool ComponentTree::HasChildren(int index) const {
  return index + 1 < static_cast<int>(components_.size()) && components_[index + 1].parent == index;
}

void ComponentTree::SetSubtree(int index, int state) {
  Component& c = components_[index];
  c.state = (c.locked && state == kUnchecked) ? kChecked : state;
  for (int i = index + 1; i < static_cast<int>(components_.size()) && components_[i].depth > c.depth; ++i) {
    if (components_[i].parent == index) SetSubtree(i, state);
  }
  if (HasChildren(index)) c.state = StateFromChildren(index);
  if (c.locked && c.state == kUnchecked) c.state = kChecked;
}

int ComponentTree::StateFromChildren(int index) const {
  bool any = false;
  bool all = true;
  for (int i = index + 1; i < static_cast<int>(components_.size()) && components_[i].depth > components_[index].depth; ++i) {
    if (components_[i].parent != index) continue;
    if (components_[i].state != kUnchecked) any = true;
    if (components_[i].state != kChecked) all = false;
  }
  return all ? kChecked : (any ? kPartial : kUnchecked);
}

void ComponentTree::UpdateParents(int index) {
  for (int p = components_[index].parent; p >= 0; p = components_[p].parent) {
    int state = StateFromChildren(p);
    if (components_[p].locked && state == kUnchecked) state = kChecked;
    components_[p].state = state;
  }
}

bool ComponentTree::SetChecked(int index, bool checked) {
  if (index < 0 || index >= static_cast<int>(components_.size())) return false;
  if (!checked && components_[index].locked) return false;
  SetSubtree(index, checked ? kChecked : kUnchecked);
  UpdateParents(index);
  return true;
}

bool ComponentTree::AnyChosen() const {
  for (const Component& c : components_) {
    if (c.state != kUnchecked) return true;
  }
  return false;
}

int64_t ComponentTree::RequiredBytes() const {
  int64_t total = 0;
  for (const Component& c : components_) {
    if (c.state != kUnchecked && !c.hasSubGroup) total += c.size;
  }
  return total;
}

cc::Str ComponentTree::ChosenText() const {
  cc::Str text(u"");
  for (const Component& c : components_) {
    cc::Str name = c.name;
    name.Trim();
    if (c.state == kUnchecked || name.IsEmpty()) continue;
    for (int i = 0; i <= c.depth; ++i) text.Append(u"    ");
    text.Append(name).Append(u"\r\n");
  }
  return text;
}

void ComponentTree::Store(cc::KeyArr& config) {
  if (!AnyChosen() && !components_.empty()) SetChecked(0, true);
  for (const Component& c : components_) {
    config.SetBool(cc::Str::Formatted(u"Ret.Customize.Checked%d", c.item), c.state != kUnchecked);
  }
  config.Set(u"Ret.Customize.Text", ChosenText());
  config.Set(u"Ret.Location.Required", cc::Str::Formatted(u"%lld", static_cast<long long>(RequiredBytes())));
}

void StoreSetupType(cc::KeyArr& config, const SetupType& type, bool storeShow) {
  config.SetInt(u"Ret.Content.Index", type.number);
  config.SetInt(u"Ret.Customize.Index", type.number);
  config.Set(u"Ret.Content.Text", type.name);
  if (storeShow) config.SetBool(u"Ret.Customize.Show", type.showsComponents);
}

ComponentTree ChooseSetupType(cc::KeyArr& config, const cc::Str& lang,
                              const std::vector<SetupType>& types, int number) {
  ComponentTree tree;
  tree.Load(config, lang);
  int position = TypePosition(types, number);
  if (position < 0) {
    tree.ApplyStored(config);  // no type: what start-up chose
  } else {
    // A smaller type after a bigger one installs exactly what it names.
    if (number != config.GetInt(u"Ret.Content.Index", -1)) {
      tree.ApplyType(number);
    } else {
      tree.ApplyStored(config);
    }
    StoreSetupType(config, types[static_cast<size_t>(position)]);
  }
  tree.Store(config);
  return tree;
}

cc::Str FormatSize(int64_t bytes) {
  if (bytes >= (int64_t{1} << 30)) return cc::Str::Formatted(u"%.3f GB", bytes / 1073741824.0);
  if (bytes >= (int64_t{1} << 20)) return cc::Str::Formatted(u"%.3f MB", bytes / 1048576.0);
  return cc::Str::Formatted(u"%.3f KB", bytes / 1024.0);
}

}  // namespace wizard
