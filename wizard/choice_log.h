// Writes the results a choice page stored to the setup log, one
// "KEY=VALUE" line each, so that a log shows what the install was asked to
// do (which components, shortcuts, associations and services).
#pragma once

#include <initializer_list>

#include "core/key_arr.h"

class SetupLog;

namespace wizard {

// Writes to `log` every result whose key begins with one of `prefixes` (letter case
// ignored); values of more than one line are left out.
void LogChoiceResults(SetupLog& log, const cc::KeyArr& config, std::initializer_list<const char16_t*> prefixes);

}  // namespace wizard
