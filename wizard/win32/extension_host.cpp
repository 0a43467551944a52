#include "wizard/win32/extension_host.h"

#include <windows.h>

namespace {

uintptr_t HandleOf(const cc::win::Control* control) {
  if (control == nullptr || !control->Created() || !IsWindow(control->Handle())) return 0;
  return reinterpret_cast<uintptr_t>(control->Handle());
}

// Depth first, the last child first; a control is looked at before its
// children.
const cc::win::Control* FindNamed(const cc::win::Control& parent, const cc::Str& name) {
  for (int i = parent.ChildCount() - 1; i >= 0; --i) {
    const cc::win::Control* child = parent.ChildAt(i);
    if (child == nullptr) continue;
    if (child->Name().Equals(name, true) && HandleOf(child) != 0) return child;
    if (const cc::win::Control* found = FindNamed(*child, name)) return found;
  }
  return nullptr;
}

}  // namespace

WizardExtensionHost::WizardExtensionHost(cc::win::Control& form,
                                         std::function<cc::win::Control*()> currentPage)
    : form_(form), current_page_(std::move(currentPage)) {}

cc::win::Control* WizardExtensionHost::CurrentPage() const {
  return current_page_ ? current_page_() : nullptr;
}

uintptr_t WizardExtensionHost::MainWindow() { return HandleOf(&form_); }

uintptr_t WizardExtensionHost::PageWindow() { return HandleOf(CurrentPage()); }

uintptr_t WizardExtensionHost::PageHostWindow() {
  cc::win::Control* page = CurrentPage();
  return page == nullptr ? 0 : HandleOf(page->Parent());
}

uintptr_t WizardExtensionHost::FindControl(const cc::Str& name) {
  if (name.IsEmpty()) return 0;
  return HandleOf(FindNamed(form_, name));
}

bool WizardExtensionHost::SetControlText(uintptr_t handle, const cc::Str& text) {
  HWND window = reinterpret_cast<HWND>(handle);
  if (handle == 0 || !IsWindow(window)) return false;
  if (cc::win::Control* control = cc::win::Control::FromHandle(window)) {
    control->SetText(text);
    return true;
  }
  return SetWindowTextW(window, cc::win::Wide(text)) != FALSE;
}
