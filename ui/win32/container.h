// Controls that hold other controls: Container ("ccContainer"), Panel,
// GroupPanel (a panel with a titled frame drawn around its children) and
// ControlContainer (the page host: a panel with inner margins). Windows
// flavour only.
#pragma once

#include "ui/win32/control.h"

namespace cc::win {

class Container : public Control {
 public:
  Container();
  const char16_t* ClassName() const override { return u"Container"; }

 protected:
  const wchar_t* WindowClass() const override { return L"ccContainer"; }
};

class Panel : public Container {
 public:
  const char16_t* ClassName() const override { return u"Panel"; }
};

// Draws an etched frame with its text at the top left.
class GroupPanel : public Panel {
 public:
  const char16_t* ClassName() const override { return u"GroupPanel"; }

 protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Inner margins for the hosted control (left, top, right, bottom).
struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Its text, when it has one, is drawn inside the margins in the text
// colour, wrapped at words (the wizard's error page shows its message so).
class ControlContainer : public Container {
 public:
  const char16_t* ClassName() const override { return u"ControlContainer"; }
  void SetMargins(const Margins& margins) { margins_ = margins; }
  const Margins& GetMargins() const { return margins_; }
  void SetText(const Str& text) override;

 protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  Margins margins_;
};

}  // namespace cc::win
