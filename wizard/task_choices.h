// The tasks page without its window: which captions and check boxes the
// page shows for its kind (shortcut locations, file extensions, services
// of each program entry), and the results and summaries stored on Next.
#pragma once

#include <vector>

#include "core/key_arr.h"
#include "core/str.h"

namespace wizard {

// The page kinds: all three sections, or one of them.
enum TaskKind : int { kTasksAll = 0, kTasksShortcuts = 1, kTasksAssociations = 2, kTasksServices = 3 };

// The kind of page id 110, 123, 124 or 125; -1 for any other id.
int TaskKindOfPage(int pageId);

inline constexpr int kMaxTaskBoxes = 60;
inline constexpr int kMaxTaskCaptions = 10;

enum class TaskSection { kShortcuts, kAssociations, kServices };

struct TaskCaption {
  TaskSection section;
  int entry;
  cc::Str text;
};

struct TaskBox {
  TaskSection section;
  int entry;
  int index;      // the location k, the extension j, or 0 for the service
  cc::Str text;
  bool enabled = true;
  bool checked = true;
  int caption;    // index into TaskModel::captions
  int row;        // within the entry, from 0
  int column;     // within the row, from 0
};

struct TaskModel {
  std::vector<TaskCaption> captions;
  std::vector<TaskBox> boxes;  // at most kMaxTaskBoxes, in creation order
  bool menuSkip = false;       // "Ret.Menu.Skip" the model was built with
};

// The captions and boxes of a page of `kind` in `langCode`, all checked
// except the program-menu box while the menu is skipped.
TaskModel BuildTaskModel(const cc::KeyArr& config, const cc::Str& langCode, int kind);

// A rebuilt model (another language, another skip) keeps the check states
// the user set in `previous`; the program-menu boxes follow a changed skip.
void KeepTaskChecks(TaskModel& rebuilt, const TaskModel& previous);

// Stores the choices: "Ret.Shortcut.chkShort%d_%d" (fixed locations true),
// "Ret.Shortcut.chkExt%d.%d" (1 or 0), "Ret.Shortcut.chkService%d", and
// the summaries of the sections the model holds ("Ret.Shortcut.ShText",
// ".AsText", ".SeText"), which list only what will be done. Sections that
// the page's kind does not show are left as they are, so that several
// single-section pages each keep their summary.
void StoreTaskResults(cc::KeyArr& config, const TaskModel& model, int kind);

}  // namespace wizard
