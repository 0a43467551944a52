// FunctionPage: the base of every wizard page. A page is a panel in the
// form's page host, built once at its design size and laid out by its
// anchors; the framework prepares it each time it is shown and asks it
// before it is left. Concrete pages fill in LoadPage, LeavePage and
// OnEnter. Windows flavour only.
#pragma once

#include <cstdint>
#include <memory>

#include "core/key_arr.h"
#include "core/str.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/container.h"
#include "wizard/win32/wizard_context.h"

class SetupLog;

namespace wizard {

// The size a page's controls are placed for; the framework then gives the
// page its real size and the anchors move the controls.
inline constexpr int kPageDesignWidth = 600;
inline constexpr int kPageDesignHeight = 600;

// Modes of PreparePage and LoadPage.
inline constexpr int kLoadCreated = 0;
inline constexpr int kLoadByNext = 1;
inline constexpr int kLoadByBack = -1;
inline constexpr int kLoadLanguageChanged = -2;

// One-shot page timers that enter the page after it became visible.
inline constexpr UINT_PTR kEnterByNextTimer = 68;
inline constexpr UINT_PTR kEnterByBackTimer = 69;

class FunctionPage : public cc::win::Panel {
 public:
  FunctionPage(int typeId, WizardContext& context, const cc::Str& keyBase);
  const char16_t* ClassName() const override { return u"FunctionPage"; }

  // After the page became visible; `direction` +1 (Next) or -1 (Back).
  virtual void OnEnter(int direction) {}
  // Fills the controls from the configuration and the results; `mode` is
  // one of kLoad*. The framework ignores the result.
  virtual bool LoadPage(int mode) { return true; }
  // Checks the page and stores its results before it is left in
  // `direction`; false keeps the page.
  virtual bool LeavePage(int direction) { return true; }
  // The value of `key` in the page's language (a leading "." is added when
  // missing); a null string when the configuration has none.
  virtual cc::Str GetLangText(const cc::Str& key) const;

  // Re-reads the language and flags, applies the page's background for
  // the modes that show it, runs LoadPage and tells the extension library.
  bool PreparePage(int mode);
  // LeavePage, then (when the page agreed) the extension library, whose
  // kExtensionRefuse keeps the page.
  bool CanLeave(int direction);
  // Starts the one-shot timer that calls OnEnter(direction).
  void EnterSoon(int direction);

  int TypeId() const { return typeId_; }
  const cc::Str& KeyBase() const { return keyBase_; }
  const cc::Str& LangCode() const { return langCode_; }
  const cc::Str& LoadedLang() const { return loadedLang_; }
  // True when the language changed since the page last loaded its texts.
  bool LanguageChanged() const { return !langCode_.Equals(loadedLang_); }
  uint32_t Flags() const { return flags_; }
  bool HasFlag(uint32_t bit) const { return (flags_ & bit) != 0; }

 protected:
  cc::Str KeyOf(const char16_t* suffix) const;
  // A page text: the language-qualified value of key base + `suffix`.
  cc::Str PageText(const char16_t* suffix) const { return GetLangText(KeyOf(suffix)); }
  cc::KeyArr& Config() const { return context_.config; }
  WizardContext& Context() const { return context_; }
  cc::win::WizardForm& Form() const { return context_.form; }
  // The setup's log (the main form's).
  SetupLog& Log() const;
  // Adds a child control named `name` at design position and size. Texts,
  // labels and buttons show the form's background through them.
  template <class T>
  T* AddControl(const char16_t* name, int x, int y, int width, int height,
                int anchors = cc::win::kDefaultAnchors) {
    auto control = std::make_unique<T>();
    PrepareChild(control.get(), name, x, y, width, height, anchors);
    return Add(std::move(control));
  }
  // Adds bits to the flags in force until the next PreparePage (a page's
  // LoadPage disabling Back or Next for the layout that follows).
  void AddFlags(uint32_t bits) { flags_ |= bits; }
  // A message box over the form with an OK button and the warning icon.
  void ShowMessage(const cc::Str& text, const cc::Str& caption);

  cc::win::Label* labInfo_ = nullptr;

  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PrepareChild(cc::win::Control* child, const char16_t* name, int x, int y, int width,
                    int height, int anchors);
  void ReadLanguageAndFlags();
  int Notify(int event);

  int typeId_;
  WizardContext& context_;
  cc::Str keyBase_;
  cc::Str langCode_;
  cc::Str loadedLang_;
  uint32_t flags_ = 0;
};

}  // namespace wizard
