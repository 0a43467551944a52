// Top-level windows: Form ("ccForm") and Dialog (a form shown modally over
// an owner). A form closes through its Closing event, which may cancel.
// Windows flavour only.
#pragma once

#include "ui/win32/container.h"

namespace cc::win {

inline constexpr const char16_t kShowDialogError[] = u"[Form::ShowDialog]ERROR! while this->Show().";
inline constexpr const char16_t kShowDialogExceptionFormat[] = u"[Form::ShowDialog]Exception Error:%s";

class Form : public Container {
 public:
  Form();
  ~Form() override;
  const char16_t* ClassName() const override { return u"Form"; }

  // Sets the window size so that the client area is width x height, using
  // the form's style words.
  void SetClientSize(int width, int height);
  // Centres the window on the screen's work area.
  void CenterToScreen();
  // The buttons pressed by Enter and Escape (may be null).
  void SetEnterButton(Control* button) { enterButton_ = button; }
  void SetEscapeButton(Control* button) { escapeButton_ = button; }
  Control* EnterButton() const { return enterButton_; }
  Control* EscapeButton() const { return escapeButton_; }
  // Disables and greys the close item of the system menu (and the close
  // box), or enables it again.
  void SetCloseBoxEnabled(bool enabled);
  bool CloseBoxEnabled() const { return !HasStyle(kStyleBack, kFormCloseDisabled); }
  void SetMinimizeBox(bool on);
  // Asks the form to close: Closing may cancel; then the window goes.
  // Returns false when a handler cancelled.
  bool Close();
  // Creates (when needed) and shows the window.
  void ShowForm();

  // Shows the form modally over `owner` (may be null) and returns when it
  // has closed; returns the dialog result. Failures are logged with
  // kShowDialogError / kShowDialogExceptionFormat and return -1.
  int ShowDialog(Control* owner);
  void SetDialogResult(int result) { dialogResult_ = result; }

  bool PreTranslateKey(MSG* msg, int modifiers) override;

  Event<EventArgs> Load;
  Event<CancelEventArgs> Closing;
  Event<EventArgs> Closed;

 protected:
  const wchar_t* WindowClass() const override { return L"ccForm"; }
  void OnCreated() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ApplyCloseBox();
  bool PressButton(Control* button);

  Control* enterButton_ = nullptr;
  Control* escapeButton_ = nullptr;
  int dialogResult_ = 0;
  bool loaded_ = false;
};

class Dialog : public Form {
 public:
  Dialog();
  const char16_t* ClassName() const override { return u"Dialog"; }
};

}  // namespace cc::win
