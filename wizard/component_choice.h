// The setup types and the component tree without a window: which types are
// offered, the components with their tri-state checks and locks, the choice
// a type makes, and the results the install engine reads.
#pragma once

#include <cstdint>
#include <vector>

#include "core/key_arr.h"
#include "core/str.h"

namespace wizard {

inline constexpr int kMaxSetupTypes = 6;
inline constexpr uint32_t kComponentsShowTypes = 0x100000;

struct SetupType {
  int number;  // t in "s.i.Type.%d": the one meaning of a type everywhere
  cc::Str name;
  bool showsComponents;
};

// The offered types (flag 0x1000000) in order; an empty name reads
// "Item %d" with the position.
std::vector<SetupType> OfferedTypes(const cc::KeyArr& config, const cc::Str& langCode);

// The position among `types` of the type numbered `number`; -1 when that
// type is not offered.
int TypePosition(const std::vector<SetupType>& types, int number);

enum CheckState : int { kUnchecked = 0, kChecked = 1, kPartial = 2 };

struct Component {
  int item;     // n of "s.f.%d.Item"
  int parent;   // index of the nearest component above, -1 at the top
  int depth;    // 0 at the top
  cc::Str name;
  cc::Str description;
  int64_t size;
  bool hasSubGroup;
  bool locked;  // always installed
  uint32_t typeMask;
  int state = kUnchecked;
};

class ComponentTree {
 public:
  // Reads the components (items of type 2) in depth-first order.
  void Load(const cc::KeyArr& config, const cc::Str& langCode);

  const std::vector<Component>& Components() const { return components_; }

  // Sets every component to what type `typeNumber` names, nothing kept from
  // an earlier choice; locked ones stay chosen.
  void ApplyType(int typeNumber);
  // Sets the states from "Ret.Customize.Checked%d"; a group shows all,
  // some or none of its sub-components as chosen.
  void ApplyStored(const cc::KeyArr& config);
  // Takes the states of the same items from `previous` (the tree read
  // again in another language keeps the user's checks).
  void KeepStates(const ComponentTree& previous);
  // A user's click: checks or clears the component and its sub-components
  // (locked ones stay checked), then the parents show all, none or some.
  // Returns false (and changes nothing) for clearing a locked component.
  bool SetChecked(int index, bool checked);

  bool AnyChosen() const;
  // The bytes the install needs: chosen components without sub-groups.
  int64_t RequiredBytes() const;
  // The chosen components' names, one a line, four blanks per level.
  cc::Str ChosenText() const;

  // Stores "Ret.Customize.Checked%d" (state >= 1), "Ret.Customize.Text" and
  // "Ret.Location.Required". When nothing is chosen the first component is
  // chosen so that the setup installs something.
  void Store(cc::KeyArr& config);

 private:
  void SetSubtree(int index, int state);
  void SettleGroups();
  void UpdateParents(int index);
  int StateFromChildren(int index) const;
  bool HasChildren(int index) const;

  std::vector<Component> components_;
};

// Stores the setup type `type`: "Ret.Content.Index" and "Ret.Customize.Index"
// (its number, never its position), "Ret.Content.Text" and, when
// `storeShow`, "Ret.Customize.Show" (the components page, already shown,
// leaves that to the type page).
void StoreSetupType(cc::KeyArr& config, const SetupType& type, bool storeShow = true);

// The type page's choice of the type numbered `number` (-1: none offered):
// stores the type, and the components it names when it is not the type
// in force ("Ret.Content.Index"); the type in force keeps the components
// stored for it (the user's own checks on the components page). Returns
// the components as stored.
ComponentTree ChooseSetupType(cc::KeyArr& config, const cc::Str& langCode,
                              const std::vector<SetupType>& types, int number);

// "%.3f KB" below 1 MiB, " MB" below 1 GiB, " GB" above.
cc::Str FormatSize(int64_t bytes);

}  // namespace wizard
