#include "wizard/task_choices.h"

#include "runtime/lang_text.h"
#include "runtime/result_store.h"
#include "wizard/page_ids.h"

namespace wizard {

namespace {

constexpr uint32_t kFixedShift = 12;
constexpr uint32_t kOfferExtensions = 0x1000000;
constexpr uint32_t kExtensionsDisabled = 0x2000000;
constexpr uint32_t kOfferService = 0x4000000;
constexpr uint32_t kServiceDisabled = 0x8000000;

bool Shows(int kind, TaskSection section) {
  switch (section) {
    case TaskSection::kShortcuts: return kind == kTasksAll || kind == kTasksShortcuts;
    case TaskSection::kAssociations: return kind == kTasksAll || kind == kTasksAssociations;
    case TaskSection::kServices: return kind == kTasksAll || kind == kTasksServices;
  }
  return false;
}

uint32_t EntryFlags(const cc::KeyArr& config, int entry) {
  return static_cast<uint32_t>(config.GetInt(cc::Str::Formatted(u"s.i.Short.%d.Flag", entry), 0));
}

int ExtensionCount(const cc::KeyArr& config, int entry) {
  return config.GetInt(cc::Str::Formatted(u"Ret.Shortcut.Ext%d.Count", entry), 0);
}

cc::Str Extension(const cc::KeyArr& config, int entry, int j) {
  cc::Str ext = config.Get(cc::Str::Formatted(u"Ret.Shortcut.Ext%d.%d", entry, j));
  return ext.IsNull() ? cc::Str(u"") : ext;
}

cc::Str EntryText(const cc::KeyArr& config, const cc::Str& lang, const char16_t* format, int entry) {
  cc::Str text = GetLangText(config, lang, cc::Str::Formatted(format, entry));
  return text.IsNull() ? cc::Str(u"") : text;
}

// Builds one section at a time; the box count and the captions run on
// over the sections.
class Builder {
 public:
  Builder(const cc::KeyArr& config, const cc::Str& lang, TaskModel& model)
      : config_(config), lang_(lang), model_(model),
        perRow_(config.GetInt(u"s.i.Short.ShortLineCount", 3) + 1) {}

  void Shortcuts(int entry, uint32_t flags) {
    if ((flags & 0xFF) == 0 || !Caption(TaskSection::kShortcuts, entry, u".s.c.ShortFmt",
                                        u"[#ShortcutName#] would create Shortcuts for at:",
                                        u"[#ShortcutName#]",
                                        EntryText(config_, lang_, u".s.i.Short.%d.Name", entry))) {
      return;
    }
    StartRow();
    for (int k = 0; k < kShortcutLocationCount; ++k) {
      if (!(flags & (1u << k))) continue;
      bool fixed = (flags & (1u << (k + kFixedShift))) != 0;
      cc::Str name = kShortcutLocationNames[k];
      cc::Str text = GetLangTextOr(config_, lang_, cc::Str(u".s.i.Var.S_") + name, name);
      bool enabled = !fixed;
      bool checked = true;
      if (k == 0 && model_.menuSkip) {
        enabled = false;
        checked = false;
      }
      Add(TaskSection::kShortcuts, entry, k, text, enabled, checked);
    }
  }

  void Associations(int entry, uint32_t flags) {
    int count = ExtensionCount(config_, entry);
    if (count <= 0 || !(flags & kOfferExtensions) ||
        !Caption(TaskSection::kAssociations, entry, u".s.c.AssoFmt",
                 u"[#ShortcutName#] would associated to file's extension:", u"[#ShortcutName#]",
                 EntryText(config_, lang_, u".s.i.Short.%d.Name", entry))) {
      return;
    }
    StartRow();
    for (int j = 0; j < count; ++j) {
      Add(TaskSection::kAssociations, entry, j, Extension(config_, entry, j),
          !(flags & kExtensionsDisabled), true);
    }
  }

  void Services(int entry, uint32_t flags) {
    cc::Str service = config_.Get(cc::Str::Formatted(u"s.i.Short.%d.SeName", entry));
    if (!(flags & kOfferService) ||
        !Caption(TaskSection::kServices, entry, u".s.c.ServiceFmt",
                 u"Service [#ServiceName#] would be created:", u"[#ServiceName#]",
                 service.IsNull() ? cc::Str(u"") : service)) {
      return;
    }
    StartRow();
    Add(TaskSection::kServices, entry, 0, EntryText(config_, lang_, u".s.i.Short.%d.SeDesc", entry),
        !(flags & kServiceDisabled), true);
  }

 private:
  bool Caption(TaskSection section, int entry, const char16_t* key, const char16_t* fallback,
               const char16_t* placeholder, const cc::Str& value) {
    if (static_cast<int>(model_.captions.size()) >= kMaxTaskCaptions) return false;
    cc::Str text = GetLangTextOr(config_, lang_, key, fallback);
    text.Replace(placeholder, value);
    model_.captions.push_back({section, entry, text});
    return true;
  }

  void StartRow() {
    row_ = 0;
    column_ = 0;
  }

  void Add(TaskSection section, int entry, int index, const cc::Str& text, bool enabled,
           bool checked) {
    if (static_cast<int>(model_.boxes.size()) >= kMaxTaskBoxes) return;
    if (column_ >= perRow_) {
      ++row_;
      column_ = 0;
    }
    TaskBox box{section, entry, index, text, enabled, checked,
                static_cast<int>(model_.captions.size()) - 1, row_, column_};
    model_.boxes.push_back(box);
    ++column_;
  }

  const cc::KeyArr& config_;
  const cc::Str& lang_;
  TaskModel& model_;
  int perRow_;
  int row_ = 0;
  int column_ = 0;
};

const TaskBox* FindBox(const TaskModel& model, TaskSection section, int entry, int index) {
  for (const TaskBox& box : model.boxes) {
    if (box.section == section && box.entry == entry && box.index == index) return &box;
  }
  return nullptr;
}

bool IsFixed(uint32_t flags, int k) { return (flags & (1u << (k + kFixedShift))) != 0; }

cc::Str ResultKey(const TaskBox& box) {
  switch (box.section) {
    case TaskSection::kShortcuts:
      return cc::Str::Formatted(u"Ret.Shortcut.chkShort%d_%d", box.entry, box.index);
    case TaskSection::kAssociations:
      return cc::Str::Formatted(u"Ret.Shortcut.chkExt%d.%d", box.entry, box.index);
    case TaskSection::kServices:
      return cc::Str::Formatted(u"Ret.Shortcut.chkService%d", box.entry);
  }
  return cc::Str(u"");
}

// "    caption\r\n        a; b; \r\n" per caption that has a chosen box.
cc::Str Summary(const TaskModel& model, TaskSection section) {
  cc::Str text(u"");
  for (size_t c = 0; c < model.captions.size(); ++c) {
    if (model.captions[c].section != section) continue;
    cc::Str items(u"");
    for (const TaskBox& box : model.boxes) {
      if (box.caption == static_cast<int>(c) && box.checked) items.Append(box.text).Append(u"; ");
    }
    if (items.IsEmpty()) continue;
    text.Append(u"    ").Append(model.captions[c].text).Append(u"\r\n        ");
    text.Append(items).Append(u"\r\n");
  }
  return text;
}

}  // namespace

int TaskKindOfPage(int pageId) {
  switch (pageId) {
    case kShortcutPage: return kTasksAll;
    case kShortcutMenuPage: return kTasksShortcuts;
    case kShortcutAssocPage: return kTasksAssociations;
    case kShortcutServicePage: return kTasksServices;
    default: return -1;
  }
}

TaskModel BuildTaskModel(const cc::KeyArr& config, const cc::Str& langCode, int kind) {
  TaskModel model;
  model.menuSkip = config.GetBool(u"Ret.Menu.Skip", false);
  Builder builder(config, langCode, model);
  int count = config.GetInt(u"s.i.Short.Count", 0);
  if (Shows(kind, TaskSection::kShortcuts)) {
    for (int i = 0; i < count; ++i) builder.Shortcuts(i, EntryFlags(config, i));
  }
  if (Shows(kind, TaskSection::kAssociations)) {
    for (int i = 0; i < count; ++i) builder.Associations(i, EntryFlags(config, i));
  }
  if (Shows(kind, TaskSection::kServices)) {
    for (int i = 0; i < count; ++i) builder.Services(i, EntryFlags(config, i));
  }
  return model;
}

void KeepTaskChecks(TaskModel& rebuilt, const TaskModel& previous) {
  bool skipChanged = rebuilt.menuSkip != previous.menuSkip;
  for (TaskBox& box : rebuilt.boxes) {
    if (!box.enabled) continue;  // fixed, disabled or the skipped menu: as built
    bool menuBox = box.section == TaskSection::kShortcuts && box.index == 0;
    if (menuBox && skipChanged) continue;  // the menu is offered again: checked
    const TaskBox* old = FindBox(previous, box.section, box.entry, box.index);
    if (old) box.checked = old->checked;
  }
}

void StoreTaskResults(cc::KeyArr& config, const TaskModel& model, int kind) {
  for (const TaskBox& box : model.boxes) {
    if (box.section == TaskSection::kAssociations) {
      config.SetInt(ResultKey(box), box.checked ? 1 : 0);
    } else {
      config.SetBool(ResultKey(box), box.checked);
    }
  }
  // A fixed location is created whatever its box shows (but the program
  // menu only when it is not skipped).
  for (const TaskCaption& caption : model.captions) {
    if (caption.section != TaskSection::kShortcuts) continue;
    uint32_t flags = EntryFlags(config, caption.entry);
    for (int k = 0; k < kShortcutLocationCount; ++k) {
      if (!IsFixed(flags, k)) continue;
      bool on = !(k == 0 && model.menuSkip);
      config.SetBool(cc::Str::Formatted(u"Ret.Shortcut.chkShort%d_%d", caption.entry, k), on);
    }
  }
  if (Shows(kind, TaskSection::kShortcuts)) {
    config.Set(u"Ret.Shortcut.ShText", Summary(model, TaskSection::kShortcuts));
  }
  if (Shows(kind, TaskSection::kAssociations)) {
    config.Set(u"Ret.Shortcut.AsText", Summary(model, TaskSection::kAssociations));
  }
  if (Shows(kind, TaskSection::kServices)) {
    config.Set(u"Ret.Shortcut.SeText", Summary(model, TaskSection::kServices));
  }
}

}  // namespace wizard
