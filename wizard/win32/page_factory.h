// Makes the page object of a page type id.
#pragma once

#include <memory>

#include "core/str.h"
#include "wizard/win32/function_page.h"

namespace wizard {

// The page of `typeId` for the item with `keyBase`; nullptr for an id
// without a page class.
std::unique_ptr<FunctionPage> CreatePage(int typeId, WizardContext& context, const cc::Str& keyBase);

}  // namespace wizard
