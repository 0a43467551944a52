#include "wizard/win32/function_page.h"

#include <string>

#include "runtime/ins_form.h"
#include "runtime/lang_text.h"
#include "ui/win32/wizard_form.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;
using cc::win::Control;

FunctionPage::FunctionPage(int typeId, WizardContext& context, const Str& keyBase)
    : typeId_(typeId), context_(context), keyBase_(keyBase) {
  SetName(Str(u"page"));
  ModifyStyle(cc::win::kStylePaint, 0, cc::win::kPaintTransparent);
  SetBounds(0, 0, kPageDesignWidth, kPageDesignHeight);
  ReadLanguageAndFlags();
  labInfo_ = AddControl<cc::win::Label>(u"labInfo", 3, 1, 595, 60,
                                        cc::win::kAnchorTop | cc::win::kAnchorLeft | cc::win::kAnchorRight);
  labInfo_->SetText(Str(u""));
}

Str FunctionPage::KeyOf(const char16_t* suffix) const {
  std::u16string key(keyBase_.View());
  key += suffix;
  return Str(key);
}

SetupLog& FunctionPage::Log() const { return context_.logic.Log(); }

Str FunctionPage::GetLangText(const Str& key) const { return ::GetLangText(Config(), langCode_, key); }

void FunctionPage::ReadLanguageAndFlags() {
  langCode_ = CurrentLanguage(Config());
  flags_ = static_cast<uint32_t>(Config().GetInt(KeyOf(u".Flags"), 0));
}

bool FunctionPage::PreparePage(int mode) {
  ReadLanguageAndFlags();
  if (mode != kLoadCreated) Form().ApplyPageBackground(keyBase_);
  bool loaded = LoadPage(mode);
  loadedLang_ = langCode_;
  if (mode == kLoadCreated) Notify(kExtensionPageCreated);
  if (mode == kLoadByNext) Notify(kExtensionShownByNext);
  if (mode == kLoadByBack) Notify(kExtensionShownByBack);
  return loaded;
}

bool FunctionPage::CanLeave(int direction) {
  if (!LeavePage(direction)) return false;
  if (direction != 1 && direction != -1) return true;
  int event = direction == 1 ? kExtensionLeavingByNext : kExtensionLeavingByBack;
  return Notify(event) != kExtensionRefuse;
}

int FunctionPage::Notify(int event) {
  if (!context_.notify) return 0;
  return context_.notify(typeId_, event, 0);
}

void FunctionPage::EnterSoon(int direction) {
  if (!Created()) return;
  SetTimer(hwnd_, direction > 0 ? kEnterByNextTimer : kEnterByBackTimer, 5, nullptr);
}

LRESULT FunctionPage::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && (wParam == kEnterByNextTimer || wParam == kEnterByBackTimer)) {
    KillTimer(hwnd_, wParam);
    OnEnter(wParam == kEnterByNextTimer ? 1 : -1);
    return 0;
  }
  return Panel::WndProc(message, wParam, lParam);
}

void FunctionPage::PrepareChild(Control* child, const char16_t* name, int x, int y, int width,
                                int height, int anchors) {
  child->SetName(Str(name));
  child->SetBounds(x, y, width, height);
  child->SetAnchor(anchors);
  // Texts and boxes show the page's (the form's) background through them;
  // edit boxes, lists and push buttons keep their own.
  bool seeThrough = dynamic_cast<cc::win::Label*>(child) != nullptr ||
                    dynamic_cast<cc::win::ToolItem*>(child) != nullptr ||
                    dynamic_cast<cc::win::CheckBox*>(child) != nullptr;
  if (seeThrough) child->ModifyStyle(cc::win::kStylePaint, 0, cc::win::kPaintTransparent);
}

void FunctionPage::ShowMessage(const Str& text, const Str& caption) {
  HWND owner = Form().Handle();
  MessageBoxW(owner, cc::win::Wide(text), cc::win::Wide(caption), MB_OK | MB_ICONWARNING);
}

}  // namespace wizard
