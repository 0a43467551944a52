// The confirmation page's summary of the choices made on the earlier pages,
// read from the result keys.
#pragma once

#include "core/key_arr.h"
#include "core/str.h"

namespace wizard {

inline constexpr uint32_t kConfirmAskOnNext = 0x100000;

// The summary in `langCode`: destination, setup type and components when
// chosen, program-menu folder ("    Skip." when skipped, "<None>" when no
// folder is known) and the task summaries.
cc::Str ConfirmSummary(const cc::KeyArr& config, const cc::Str& langCode);

// Whether the page rebuilds its text on load `mode`: at creation, by Next,
// and after a language switch so that the captions follow the language;
// not on Back.
bool ConfirmRebuildsOn(int mode);

}  // namespace wizard
