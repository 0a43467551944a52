#include "wizard/page_ids.h"

namespace wizard {

namespace {

struct PageDefaults {
  int typeId;
  uint32_t flags;
};

const PageDefaults kDefaults[] = {
    {kSelLangPage, 0x82},          {kWelcomePage, 0x30000080},   {kInfoPage, 0x100},
    {kLicensePage, 0x100},         {kSelContentPage, 0x100},     {kCustomizePage, 0x300000},
    {kLocationPage, 0x700000},     {kMenuFolderPage, 0x100000},  {kShortcutPage, 0x100},
    {kConfirmPage, 0x100},         {kInsingPage, 0x10},          {kFinishPage, 0x800091},
    {kInfoWebPage, 0x100},         {kShortcutMenuPage, 0x100},   {kShortcutAssocPage, 0x100},
    {kShortcutServicePage, 0x100},
};

const PageDefaults* Find(int typeId) {
  for (const PageDefaults& entry : kDefaults) {
    if (entry.typeId == typeId) return &entry;
  }
  return nullptr;
}

bool HasLayout(uint32_t flags) { return (flags & (kPageWide | kPageOrdinary)) != 0; }

}  // namespace

bool IsPageClassId(int typeId) { return Find(typeId) != nullptr; }

uint32_t DefaultPageFlags(int typeId) {
  const PageDefaults* entry = Find(typeId);
  return entry ? entry->flags : 0;
}

uint32_t ApplyDefaultFlags(cc::KeyArr& config, int typeId, const cc::Str& keyBase) {
  cc::Str key = keyBase + u".Flags";
  uint32_t flags = static_cast<uint32_t>(config.GetInt(key, 0));
  if (HasLayout(flags)) return flags;
  flags |= DefaultPageFlags(typeId);
  if (!HasLayout(flags)) flags |= kPageOrdinary;
  config.SetInt(key, static_cast<int>(flags));
  return flags;
}

}  // namespace wizard
