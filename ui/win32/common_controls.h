// The platform's common controls wrapped as toolkit controls: labels, the
// link label, buttons and check boxes, list and combo boxes, the edit box
// and the progress bar. Windows flavour only.
#pragma once

#include <vector>

#include "ui/win32/control.h"

namespace cc::win {

// A static text ("Static").
class Label : public Control {
 public:
  Label();
  const char16_t* ClassName() const override { return u"Label"; }

 protected:
  const wchar_t* WindowClass() const override { return L"Static"; }
  bool OwnsWindowClass() const override { return false; }
};

// A text item of the toolkit's own class ("ccToolItem"): painted by the
// toolkit with its text colour over its background.
class ToolItem : public Control {
 public:
  const char16_t* ClassName() const override { return u"ToolItem"; }
  // With `clip`, the item covers only its text's width (a window region,
  // renewed when text, font or size change; nothing when the text is
  // empty): what lies beneath the rest of its box, a line for instance,
  // stays visible. Its bounds are unchanged.
  void SetClipToText(bool clip);

 protected:
  const wchar_t* WindowClass() const override { return L"ccToolItem"; }
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCreated() override { UpdateTextClip(); }
  // Draws the text; links draw it underlined in their link colour.
  virtual void PaintText(HDC dc, const RECT& rect);

 private:
  void UpdateTextClip();
  bool clipToText_ = false;
};

// A text that opens its link target when clicked: Click fires, then (when
// a target is set) message 5001 code 13 goes to the top-level window.
class LabelLink : public ToolItem {
 public:
  LabelLink();
  const char16_t* ClassName() const override { return u"LabelLink"; }
  void SetLink(const Str& target) { link_ = target; }
  const Str& Link() const { return link_; }

 protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintText(HDC dc, const RECT& rect) override;

 private:
  Str link_;
};

class Button : public Control {
 public:
  Button();
  const char16_t* ClassName() const override { return u"Button"; }
  // Presses the button as a click would (only when it is enabled).
  void PerformClick();

 protected:
  const wchar_t* WindowClass() const override { return L"Button"; }
  bool OwnsWindowClass() const override { return false; }
};

class CheckBox : public Button {
 public:
  CheckBox();
  const char16_t* ClassName() const override { return u"CheckBox"; }
  void SetChecked(bool checked);
  bool Checked() const;

 protected:
  bool OnCommand(int code) override;
  bool checked_ = false;
};

class RadioButton : public CheckBox {
 public:
  RadioButton();
  const char16_t* ClassName() const override { return u"RadioButton"; }
};

// A button that shows a file path, shortened with an ellipsis in the
// middle when it does not fit.
class PathButton : public Button {
 public:
  const char16_t* ClassName() const override { return u"PathButton"; }
  void SetPath(const Str& path);
  const Str& Path() const { return path_; }

 protected:
  void OnCreated() override;

 private:
  void ShowPath();
  Str path_;
};

// A control that shows a list of texts with one selected. The list box and
// the combo box differ only in the window messages that carry this.
struct ItemListMessages {
  unsigned add, reset, setSelection, getSelection;
  int selectionChanged;  // the notification code
};

class ItemList : public Control {
 public:
  // Returns the new item's index.
  int AddItem(const Str& text);
  void ClearItems();
  int ItemCount() const { return static_cast<int>(items_.size()); }
  // -1 for none.
  void SetSelectedIndex(int index);
  int SelectedIndex() const;
  Event<EventArgs> SelectedIndexChanged;

 protected:
  explicit ItemList(const ItemListMessages& messages) : messages_(messages) {}
  bool OwnsWindowClass() const override { return false; }
  void OnCreated() override;
  bool OnCommand(int code) override;

 private:
  const ItemListMessages& messages_;
  std::vector<Str> items_;
  int selected_ = -1;
};

class ListBox : public ItemList {
 public:
  ListBox();
  const char16_t* ClassName() const override { return u"ListBox"; }

 protected:
  const wchar_t* WindowClass() const override { return L"ListBox"; }
  bool OnCommand(int code) override;
};

class ComboBox : public ItemList {
 public:
  ComboBox();
  const char16_t* ClassName() const override { return u"ComboBox"; }

 protected:
  const wchar_t* WindowClass() const override { return L"combobox"; }
};

class TextBox : public Control {
 public:
  TextBox();
  const char16_t* ClassName() const override { return u"TextBox"; }
  void SetMultiline(bool on);
  void SetReadOnly(bool on);

 protected:
  const wchar_t* WindowClass() const override { return L"Edit"; }
  bool OwnsWindowClass() const override { return false; }
  bool OnCommand(int code) override;
};

class ProgressBar : public Control {
 public:
  const char16_t* ClassName() const override { return u"ProgressBar"; }
  void SetRange(int minimum, int maximum);
  void SetValue(int value);
  int Value() const { return value_; }

 protected:
  const wchar_t* WindowClass() const override;
  bool OwnsWindowClass() const override { return false; }
  void OnCreated() override;

 private:
  int minimum_ = 0, maximum_ = 100, value_ = 0;
};

}  // namespace cc::win
