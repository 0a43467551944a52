// The page type ids of the wizard, the flag bits the framework reads, and
// the default flags a page gets when its configuration names no layout.
#pragma once

#include <cstdint>

#include "core/key_arr.h"
#include "core/str.h"

namespace wizard {

enum PageId : int {
  kSelLangPage = 100,
  kWelcomePage = 101,
  kInfoPage = 102,
  kLicensePage = 103,
  kSelContentPage = 104,
  kCustomizePage = 105,
  kLocationPage = 108,
  kMenuFolderPage = 109,
  kShortcutPage = 110,
  kConfirmPage = 111,
  kInsingPage = 112,
  kFinishPage = 113,
  kInfoWebPage = 122,
  kShortcutMenuPage = 123,
  kShortcutAssocPage = 124,
  kShortcutServicePage = 125,
};

inline constexpr int kFirstPageId = 100;
inline constexpr int kLastPageId = 128;

inline constexpr uint32_t kPageWide = 0x80;
inline constexpr uint32_t kPageOrdinary = 0x100;

// True for the ids that have a page class; every other id creates no page.
bool IsPageClassId(int typeId);

// The bits a page of `typeId` gets at creation (0 for an id without class).
uint32_t DefaultPageFlags(int typeId);

// Reads key base + ".Flags"; when it names neither a wide nor an ordinary
// layout the type's default bits are added, and 0x100 after them when still
// neither, and the result is written back. Returns the flags in force.
uint32_t ApplyDefaultFlags(cc::KeyArr& config, int typeId, const cc::Str& keyBase);

}  // namespace wizard
